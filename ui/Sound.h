#pragma once

#include "race/presentation/SoundCues.h"

#include <QObject>
#include <QString>

#include <memory>

class QAction;
class QSlider;
class QWidget;

namespace sw::ui {

// Where the race's sounds go. The game's own plays the sound files; a test puts a recorder here.
class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    virtual void play(Sound sound) = 0;
    // 0..100; muted or 0 is silence.
    virtual void setVolume(int percent, bool muted) = 0;
};

// The folder the sound files are in, beside the program or where an installed game keeps them;
// empty when there is none.
QString soundFolder();

// The sounds for this run: the files through Qt Multimedia, or silence when the game was built
// without it, there is no display (offscreen, as in tests and screenshots) or no sound folder.
std::unique_ptr<SoundOutput> makeSoundOutput();

// The player's sound settings and their controls: "Mute Sounds" (actMute) and the volume slider
// (sldVolume), remembered for the next run with the window's other preferences.
class SoundControl : public QObject {
    Q_OBJECT

public:
    explicit SoundControl(QWidget* window);
    ~SoundControl() override;

    QAction* muteAction() const { return m_mute; }
    QSlider* volumeSlider() const { return m_volume; }
    SoundOutput& output() const { return *m_output; }
    // Puts another output in place (a test's recorder), with the settings as they are.
    void setOutput(std::unique_ptr<SoundOutput> output);

private:
    void apply();

    std::unique_ptr<SoundOutput> m_output;
    QAction* m_mute = nullptr;
    QSlider* m_volume = nullptr;
};

} // namespace sw::ui
