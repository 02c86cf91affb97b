#include "commands/commandid.h"

// Compiled by the test suite twice: as it stands, where it must compile, and with
// MISSPELT defined, where it must not: a command is named by its id, never by a string
// that could name nothing.
using lumipage::CommandId;
#ifdef MISSPELT
constexpr CommandId command = CommandId::Bolt;
#else
constexpr CommandId command = CommandId::Bold;
#endif
static_assert(int(command) >= 0);
