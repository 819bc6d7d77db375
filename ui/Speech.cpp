#include "Speech.h"

#include <QGuiApplication>
#include <QSettings>

#ifdef STRIDEWELL_SPEECH
#include <QTextToSpeech>
#endif

namespace sw::ui {

namespace {

// Under the same names as the windows' places (WindowMemory), so one file holds the preferences.
const char* const Organization = "Stridewell";
const char* const Application = "Stridewell";
const char* const SpeakCallKey = "race/speakCall";

} // namespace

Speech::Speech(QObject* parent) : QObject(parent) {}

Speech::~Speech() {
#ifdef STRIDEWELL_SPEECH
    if (m_engine)
        m_engine->stop();
#endif
}

bool Speech::available() {
#ifdef STRIDEWELL_SPEECH
    // Nobody listens to a window drawn offscreen, and a test must never speak.
    return QGuiApplication::platformName() != QLatin1String("offscreen") &&
           !QTextToSpeech::availableEngines().isEmpty();
#else
    return false;
#endif
}

void Speech::say(const QString& text) {
#ifdef STRIDEWELL_SPEECH
    // The engine is started at the first sentence, not with the window: some take a while.
    if (!m_tried) {
        m_tried = true;
        if (available()) {
            m_engine = new QTextToSpeech(this);
            connect(m_engine, &QTextToSpeech::stateChanged, this, [this](QTextToSpeech::State state) {
                if (state == QTextToSpeech::Ready)
                    speakNext();
            });
        }
    }
    if (!m_engine || text.isEmpty())
        return;
    m_waiting.append(text);
    while (m_waiting.size() > MaxWaiting)
        m_waiting.removeFirst();
    if (m_engine->state() == QTextToSpeech::Ready)
        speakNext();
#else
    Q_UNUSED(text);
#endif
}

void Speech::silence() {
    m_waiting.clear();
#ifdef STRIDEWELL_SPEECH
    if (m_engine)
        m_engine->stop();
#endif
}

void Speech::speakNext() {
#ifdef STRIDEWELL_SPEECH
    if (m_engine && !m_waiting.isEmpty())
        m_engine->say(m_waiting.takeFirst());
#endif
}

bool speakCallWanted() {
    const QSettings settings(QString::fromLatin1(Organization), QString::fromLatin1(Application));
    return settings.value(QString::fromLatin1(SpeakCallKey), true).toBool();
}

void setSpeakCallWanted(bool wanted) {
    QSettings settings(QString::fromLatin1(Organization), QString::fromLatin1(Application));
    settings.setValue(QString::fromLatin1(SpeakCallKey), wanted);
}

} // namespace sw::ui
