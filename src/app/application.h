#pragma once

namespace lumipage
{

// Everything main() does: environment, start-up, the command-line modes, the event loop.
int runLumipage(int argc, char **argv);

// Settings every process that shows the editing surface needs before QApplication exists.
void prepareProcess();

// Names the organisation and the program once, after QApplication exists, so that every
// default-constructed QSettings reads and writes the one settings file.
void nameApplication();

} // namespace lumipage
