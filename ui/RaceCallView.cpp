#include "RaceCallView.h"

#include "FontScale.h"
#include "RaceRunner.h"
#include "RunningOrderStrip.h"
#include "ToQString.h"
#include "core/Translate.h"
#include "game/Game.h"
#include "ui/track/TrackWidget.h"

#include <QAction>
#include <QEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>

namespace sw::ui {

RaceCallView::RaceCallView(Game& game, RaceRunner& runner, TrackWidget& track, QWidget* parent)
    : QWidget(parent), m_game(game), m_runner(runner), m_track(track) {
    setObjectName(QStringLiteral("frRaceCall"));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(12);
    m_strip = new RunningOrderStrip(this);
    row->addWidget(m_strip);
    m_lblCall = new QLabel(this);
    m_lblCall->setObjectName(QStringLiteral("lblRaceCall"));
    m_lblCall->setTextFormat(Qt::RichText);
    m_lblCall->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // A long sentence wraps in the bar's two lines rather than widening the window.
    m_lblCall->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    m_lblCall->setWordWrap(true);
    m_lblCall->setAccessibleName(toQString(_("Race call")));
    row->addWidget(m_lblCall, 1);
    // The window scales this bar's type with its size; the call takes a larger type of its own.
    setDesignFont(this, font());
    fitHeight();

    m_speak = new QAction(toQString(_("&Speak the Race Call")), this);
    m_speak->setObjectName(QStringLiteral("actSpeakCall"));
    m_speak->setCheckable(true);
    m_speak->setChecked(speakCallWanted());
    connect(m_speak, &QAction::toggled, this, [this](bool on) {
        setSpeakCallWanted(on);
        if (!on)
            m_announcer->silence();
    });

    m_runner.call().setListener([this](const std::vector<std::string>& sentences) { said(sentences); });
    connect(&m_runner, &RaceRunner::stepped, this, &RaceCallView::followTrack);
}

void RaceCallView::setAnnouncer(Announcer* announcer) {
    m_announcer->silence();
    m_announcer = announcer ? announcer : &m_speech;
}

bool RaceCallView::raceShown() const {
    const Stage stage = m_game.stage();
    return m_runner.running() || m_runner.replaying() || stage == Stage::Racing || stage == Stage::Results;
}

void RaceCallView::refresh() {
    if (raceShown()) {
        followTrack();
        showCall();
        return;
    }
    // Between races the next field stands by post, and nothing is being called.
    RunningOrder byPost;
    for (int e = 0; e < FieldSize; ++e)
        byPost[static_cast<std::size_t>(e)].entry = e;
    m_strip->showOrder(byPost);
    m_lblCall->clear();
    m_lblCall->setAccessibleDescription({});
    m_announcer->silence();
    const Stage stage = m_game.stage();
    const bool day = stage != Stage::NotStarted && stage != Stage::Failed;
    describeTrack(day ? toQString(_("Race %1")).arg(m_game.day().currentRace + 1) : QString());
}

void RaceCallView::followTrack() {
    if (!raceShown())
        return;
    const TrackScene& scene = m_track.scene();
    std::array<double, FieldSize> distance{};
    for (int e = 0; e < FieldSize; ++e)
        distance[static_cast<std::size_t>(e)] = scene.distanceRun(e);
    const RaceCall& call = m_runner.call();
    m_strip->showOrder(runningOrder(distance, call.placed(), call.finishTimes(), scene.trackScale()));
}

void RaceCallView::said(const std::vector<std::string>& sentences) {
    showCall();
    if (m_speak->isChecked())
        for (const std::string& sentence : sentences)
            m_announcer->say(toQString(sentence));
}

void RaceCallView::showCall() {
    const RaceCall& call = m_runner.call();
    const std::vector<std::string>& all = call.sentences();
    // The latest sentence, under the one before it while both fit the bar's two lines.
    QString text;
    QFont bold = m_lblCall->font();
    bold.setBold(true);
    const bool latestFitsOneLine =
        all.empty() || QFontMetrics(bold).horizontalAdvance(toQString(all.back())) <= m_lblCall->width();
    if (all.size() >= 2 && latestFitsOneLine)
        text = QStringLiteral("<span style=\"color: %1\">%2</span><br>")
                   .arg(palette().color(QPalette::PlaceholderText).name(),
                        toQString(all[all.size() - 2]).toHtmlEscaped());
    if (!all.empty())
        text += QStringLiteral("<b>%1</b>").arg(toQString(all.back()).toHtmlEscaped());
    m_lblCall->setText(text);
    // The label keeps its name, so a new call is told as its description.
    m_lblCall->setAccessibleDescription(all.empty() ? QString() : toQString(all.back()));
    describeTrack(toQString(call.description()));
}

void RaceCallView::describeTrack(const QString& description) {
    if (m_track.accessibleDescription() == description)
        return;
    // Qt tells assistive technology itself (QAccessible::DescriptionChanged); only a real change
    // is told, so a reader hears each call once.
    m_track.setAccessibleDescription(description);
}

void RaceCallView::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fitHeight();
}

void RaceCallView::fitHeight() {
    // The call reads from across the room: larger than the window's text, growing with it.
    QFont call = font();
    call.setPointSizeF(call.pointSizeF() * CallTypeScale);
    m_lblCall->setFont(call);
    // Two lines of the call, whatever they say; a bigger window's bigger type takes a taller bar.
    const int lines = 2 * QFontMetrics(call).lineSpacing() + 4;
    m_lblCall->setFixedHeight(lines);
    m_strip->setFixedHeight(lines);
    setFixedHeight(lines);
}

} // namespace sw::ui
