#include "app/application.h"

int main(int argc, char **argv)
{
    return lumipage::runLumipage(argc, argv);
}
