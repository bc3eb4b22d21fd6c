#include "shell/TessolyApp.h"

int main(int argc, char** argv)
{
    CTessolyApp app(argc, argv);
    if (!app.InitInstance())
        return 1;
    return app.exec();
}
