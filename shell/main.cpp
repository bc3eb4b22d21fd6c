// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdio>
#include <cstring>

#include "shell/TessolyApp.h"

int main(int argc, char** argv)
{
    // --help needs no window system: answered before the application starts.
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--help") == 0) {
            fputs(CTessolyApp::Usage(), stdout);
            return 0;
        }
    }
    CTessolyApp app(argc, argv);
    if (!app.InitInstance())
        return 1;
    return app.exec();
}
