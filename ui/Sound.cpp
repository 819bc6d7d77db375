#include "Sound.h"

#include "ToQString.h"
#include "core/Translate.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeySequence>
#include <QSettings>
#include <QSlider>
#include <QUrl>
#include <QWidget>

#ifdef STRIDEWELL_SOUND
#include <QSoundEffect>
#endif

#include <array>

namespace sw::ui {

namespace {

const char* const Organization = "Stridewell";
const char* const Application = "Stridewell";
const char* const VolumeKey = "sound/volume";
const char* const MutedKey = "sound/muted";
constexpr int DefaultVolume = 70;

class SilentOutput final : public SoundOutput {
public:
    void play(Sound) override {}
    void setVolume(int, bool) override {}
};

#ifdef STRIDEWELL_SOUND
// Each sound is loaded once and played from memory; a sound already playing starts again.
class EffectOutput final : public SoundOutput {
public:
    explicit EffectOutput(const QString& folder) {
        for (int s = 0; s < SoundCount; ++s) {
            auto& effect = m_effects[static_cast<std::size_t>(s)];
            effect = std::make_unique<QSoundEffect>();
            effect->setSource(
                QUrl::fromLocalFile(QDir(folder).filePath(toQString(soundFile(static_cast<Sound>(s))))));
        }
    }
    void play(Sound sound) override {
        if (m_silent)
            return;
        QSoundEffect& effect = *m_effects[static_cast<std::size_t>(sound)];
        // The hoofbeats overlap stride on stride; the rest are heard out.
        if (sound != Sound::Hooves && effect.isPlaying())
            return;
        effect.play();
    }
    void setVolume(int percent, bool muted) override {
        m_silent = muted || percent <= 0;
        const float volume = QAudio::convertVolume(static_cast<float>(percent) / 100.0f,
                                                   QAudio::LogarithmicVolumeScale, QAudio::LinearVolumeScale);
        for (auto& effect : m_effects) {
            effect->setVolume(volume);
            effect->setMuted(m_silent);
        }
    }

private:
    std::array<std::unique_ptr<QSoundEffect>, SoundCount> m_effects;
    bool m_silent = false;
};
#endif

} // namespace

QString soundFolder() {
    QStringList folders;
    if (QCoreApplication::instance()) {
        const QString exeDir = QCoreApplication::applicationDirPath();
        folders << exeDir + QStringLiteral("/sounds");
#ifdef STRIDEWELL_INSTALLED_SOUNDS
        folders << exeDir + QStringLiteral("/") + QStringLiteral(STRIDEWELL_INSTALLED_SOUNDS);
#endif
    }
    for (const QString& folder : folders)
        if (QFileInfo(QDir(folder).filePath(toQString(soundFile(Sound::Bugle)))).isReadable())
            return QDir(folder).absolutePath();
    return {};
}

std::unique_ptr<SoundOutput> makeSoundOutput() {
#ifdef STRIDEWELL_SOUND
    const QString platform = QGuiApplication::platformName();
    const QString folder = soundFolder();
    if (platform != QLatin1String("offscreen") && platform != QLatin1String("minimal") && !folder.isEmpty())
        return std::make_unique<EffectOutput>(folder);
#endif
    return std::make_unique<SilentOutput>();
}

SoundControl::SoundControl(QWidget* window) : QObject(window), m_output(makeSoundOutput()) {
    const QSettings settings(QString::fromLatin1(Organization), QString::fromLatin1(Application));
    m_mute = new QAction(toQString(_("Mute Sounds")), window);
    m_mute->setObjectName(QStringLiteral("actMute"));
    m_mute->setCheckable(true);
    m_mute->setChecked(settings.value(QString::fromLatin1(MutedKey), false).toBool());
    m_mute->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    // Heard most during a race, when the menus are closed: the key works from the window itself.
    m_mute->setShortcutContext(Qt::WindowShortcut);
    window->addAction(m_mute);

    m_volume = new QSlider(Qt::Horizontal, window);
    m_volume->setObjectName(QStringLiteral("sldVolume"));
    m_volume->setRange(0, 100);
    m_volume->setValue(
        std::clamp(settings.value(QString::fromLatin1(VolumeKey), DefaultVolume).toInt(), 0, 100));
    m_volume->setToolTip(toQString(_("Volume")));
    m_volume->setAccessibleName(m_volume->toolTip());
    m_volume->setFixedWidth(90);
    m_volume->setFocusPolicy(Qt::NoFocus);

    connect(m_mute, &QAction::toggled, this, &SoundControl::apply);
    connect(m_volume, &QSlider::valueChanged, this, &SoundControl::apply);
    m_output->setVolume(m_volume->value(), m_mute->isChecked());
}

SoundControl::~SoundControl() = default;

void SoundControl::setOutput(std::unique_ptr<SoundOutput> output) {
    m_output = output ? std::move(output) : std::make_unique<SilentOutput>();
    m_output->setVolume(m_volume->value(), m_mute->isChecked());
}

void SoundControl::apply() {
    m_output->setVolume(m_volume->value(), m_mute->isChecked());
    m_volume->setEnabled(!m_mute->isChecked());
    QSettings settings(QString::fromLatin1(Organization), QString::fromLatin1(Application));
    settings.setValue(QString::fromLatin1(VolumeKey), m_volume->value());
    settings.setValue(QString::fromLatin1(MutedKey), m_mute->isChecked());
}

} // namespace sw::ui
