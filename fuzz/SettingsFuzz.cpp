// settings.dat as a player may have edited it: the starting amount, the amount spinner, the
// defaults dialog and the track record a race compares with.

#include "FuzzSupport.h"

#include "database/StartRaceDay.h"
#include "players/SettingsDialog.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static sw::fuzz::FuzzFolder folder;
    folder.reset();
    folder.write("settings.dat", sw::fuzz::asText(data, size));
    sw::SeededRandom random(1);
    sw::fuzz::QuietPrompter prompter;
    sw::Game game(folder.path(), random, prompter);
    if (game.startDay()) {
        (void)sw::amountSpinnerStart(game.day().db.settings);
        sw::SettingsDialog dialog(game.day());
        dialog.open();
        dialog.ok();
    }
    folder.write("settings.dat", sw::fuzz::asText(data, size));
    sw::fuzz::playDay(folder.path(), 1);
    return 0;
}
