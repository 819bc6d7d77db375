#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QTextToSpeech;

namespace sw::ui {

// Says the race call aloud. The window speaks only through this, so a test can hear what it said.
class Announcer {
public:
    virtual ~Announcer() = default;
    // Says `text` once whatever is being said is done.
    virtual void say(const QString& text) = 0;
    // Stops at once and forgets what was waiting.
    virtual void silence() = 0;
};

// The desktop's text-to-speech, where the game was built with it and the desktop has an engine;
// silent on the offscreen platform (tests, screenshots) and wherever no engine is found. A caller
// who falls behind skips to the latest: only the newest few sentences wait their turn.
class Speech final : public QObject, public Announcer {
    Q_OBJECT

public:
    explicit Speech(QObject* parent = nullptr);
    ~Speech() override;

    // Whether anything can be heard here at all.
    static bool available();

    void say(const QString& text) override;
    void silence() override;

private:
    // The sentences that may wait while one is spoken.
    static constexpr int MaxWaiting = 2;

    void speakNext();

    QTextToSpeech* m_engine = nullptr;
    QStringList m_waiting;
    bool m_tried = false;
};

// The player's choice, kept with the window's preferences: speak the race call (the default) or not.
bool speakCallWanted();
void setSpeakCallWanted(bool wanted);

} // namespace sw::ui
