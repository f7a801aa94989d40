// Process entry: the application runs the program.
#include <windows.h>

#include <exception>
#include <string>

#include "app/application_win32.h"
#include "support/text_win32.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    zorv::Application app;
    try {
        return app.Run(instance);
    } catch (const std::exception& e) {
        // Nothing below is supposed to throw; if it does, say so and leave
        // cleanly rather than vanish.
        zorv::MsgBox(std::string("Error: ") + e.what() + "\r\n", MB_OK | MB_ICONEXCLAMATION);
        app.UnloadAllWindows();
        return 1;
    }
}
