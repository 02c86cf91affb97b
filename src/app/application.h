#pragma once

namespace lumipage
{

// Everything main() does: environment, start-up, the command-line modes, the event loop.
int runLumipage(int argc, char **argv);

// Settings every process that shows the editing surface needs before QApplication exists.
void prepareProcess();

} // namespace lumipage
