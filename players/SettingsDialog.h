#pragma once

#include "core/FileStore.h"
#include "core/RaceDay.h"

#include <string>

namespace sw {

// What the defaults dialog does, without its window: two amounts, each a label and a spinner.
// Every spinner change applies to the settings in memory at once; only OK writes settings.dat,
// and Cancel puts back the amounts the dialog opened with.
class SettingsDialog {
public:
    static constexpr int SpinnerMinimum = 1;
    static constexpr int SpinnerMaximum = 1000;

    explicit SettingsDialog(RaceDay& day) : m_day(day) {}

    // Fills labels and spinners from the settings; the spinners take the amounts rounded half to
    // even and limited to 1..1000, which also replaces the amounts in memory by those values.
    void open();

    // The spinners' change handlers; a value outside 1..1000 is limited to it, as a spinner would.
    void setStartAmount(int value);
    void setDefaultBetAmount(int value);

    // Writes StartAmount,DefaultBetAmount,,,TrackRecord to settings.dat.
    FileError ok();
    // Puts back the amounts in memory as they were before open(), fractions included.
    void cancel();

    const std::string& startAmountLabel() const { return m_startAmountLabel; }
    const std::string& defaultAmountLabel() const { return m_defaultAmountLabel; }
    int startAmountSpinner() const { return m_startAmountSpinner; }
    int defaultAmountSpinner() const { return m_defaultAmountSpinner; }

private:
    RaceDay& m_day;
    Cents m_openedStartAmount = 0;
    Cents m_openedDefaultBetAmount = 0;
    std::string m_startAmountLabel;
    std::string m_defaultAmountLabel;
    int m_startAmountSpinner = SpinnerMinimum;
    int m_defaultAmountSpinner = SpinnerMinimum;
};

} // namespace sw
