// SPDX-License-Identifier: MIT
#include "app/orin_edit_app.h"

int main(int argc, char **argv)
{
    orin::COrinEditContentsApp app(argc, argv);
    if (!app.InitInstance())
        return 1;
    return app.exec();
}
