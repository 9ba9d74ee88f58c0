// A stand-in for the game, for tests only: it appends what it was started with and the
// settings.cfg it found to game.log in its current folder, then ends.

#include <windows.h>

#include <cstdio>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand)
{
    FILE* log = fopen("game.log", "ab");
    if (log == nullptr)
        return 1;
    fprintf(log, "command line: %s\nshow: %d\nsettings:", GetCommandLineA(), showCommand);
    FILE* settings = fopen("settings.cfg", "rb");
    if (settings == nullptr) {
        fprintf(log, " none");
    } else {
        int c;
        while ((c = fgetc(settings)) != EOF)
            fprintf(log, " %02x", c);
        fclose(settings);
    }
    fprintf(log, "\n");
    fclose(log);
    return 0;
}
