#include "SettingsDialog.h"

#include "SettingsRecord.h"
#include "core/Format.h"
#include "core/TextEncoding.h"

#include <algorithm>
#include <cmath>

namespace sw {

namespace {

// Limits before rounding, so a huge amount from a hand-edited file cannot overflow the conversion.
int spinnerValueFor(Cents amount) {
    const Cents limited = std::clamp(amount, Cents{SettingsDialog::SpinnerMinimum} * CentsPerDollar,
                                     Cents{SettingsDialog::SpinnerMaximum} * CentsPerDollar);
    return static_cast<int>(roundHalfEven(centsToDollars(limited)));
}

} // namespace

void SettingsDialog::open() {
    const Settings& settings = m_day.db.settings;
    m_openedStartAmount = settings.startAmount;
    m_openedDefaultBetAmount = settings.defaultBetAmount;
    m_startAmountLabel = centsField(settings.startAmount);
    m_defaultAmountLabel = centsField(settings.defaultBetAmount);
    setStartAmount(spinnerValueFor(settings.startAmount));
    setDefaultBetAmount(spinnerValueFor(settings.defaultBetAmount));
}

void SettingsDialog::setStartAmount(int value) {
    m_startAmountSpinner = std::clamp(value, SpinnerMinimum, SpinnerMaximum);
    m_day.db.settings.startAmount = m_startAmountSpinner * CentsPerDollar;
    m_startAmountLabel = centsField(m_day.db.settings.startAmount);
}

void SettingsDialog::setDefaultBetAmount(int value) {
    m_defaultAmountSpinner = std::clamp(value, SpinnerMinimum, SpinnerMaximum);
    m_day.db.settings.defaultBetAmount = m_defaultAmountSpinner * CentsPerDollar;
    m_defaultAmountLabel = centsField(m_day.db.settings.defaultBetAmount);
}

FileError SettingsDialog::ok() {
    return m_day.folder.write("settings.dat", settingsRecord(m_day.db.settings));
}

void SettingsDialog::cancel() {
    m_day.db.settings.startAmount = m_openedStartAmount;
    m_day.db.settings.defaultBetAmount = m_openedDefaultBetAmount;
}

} // namespace sw
