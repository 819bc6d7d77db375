#include "ui/PrintOptionsDialog.h"

#include "WindowTestDay.h"

#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTest>

using namespace sw;
using namespace sw::test;

namespace {

// The text of a PDF, pages separated by form feeds; empty when pdftotext is missing.
QString pdfText(const std::filesystem::path& pdf) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        return {};
    QProcess process;
    process.start(tool,
                  {QStringLiteral("-layout"), QString::fromStdString(pdf.string()), QStringLiteral("-")});
    if (!process.waitForFinished(60000))
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The fonts a PDF uses, as pdffonts lists them; empty when pdffonts is missing.
QString pdfFonts(const std::filesystem::path& pdf) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdffonts"));
    if (tool.isEmpty())
        return {};
    QProcess process;
    process.start(tool, {QString::fromStdString(pdf.string())});
    if (!process.waitForFinished(60000))
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

class PrintOptionsDialogTest : public QObject {
    Q_OBJECT

private slots:
    void opensOnTheRacesStillToRun();
    void fromAndToFollowEachOther();
    void neverGoesBelowTheRaceAboutToBeRun();
    void pdfStartsEachRaceOnAPageUnderItsHeading();
    void printingLeavesThePoolFilesAndTheRaceAboutToBeRun();
    void cancelCloses();
};

void PrintOptionsDialogTest::opensOnTheRacesStillToRun() {
    WindowTestDay day;
    day.playRaces(2);
    ui::PrintOptionsDialog dialog(*day.game);
    dialog.show();

    QCOMPARE(dialog.objectName(), QStringLiteral("frmPrint"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Print Options"));
    QCOMPARE(child(&dialog, QStringLiteral("lblFrom"))->text(), QStringLiteral("From Race:"));
    QCOMPARE(child(&dialog, QStringLiteral("lblTo"))->text(), QStringLiteral("To Race:"));
    QCOMPARE(child<QPushButton>(&dialog, QStringLiteral("cmdPrint"))->text(), QStringLiteral("Print"));
    QCOMPARE(child<QPushButton>(&dialog, QStringLiteral("cmdPreview"))->text(),
             QStringLiteral("Print Preview"));
    QCOMPARE(child<QPushButton>(&dialog, QStringLiteral("cmdCancel"))->text(), QStringLiteral("Cancel"));
    for (const char* name : {"udFrom", "udTo"}) {
        auto* spin = child<QSpinBox>(&dialog, QLatin1String(name));
        QCOMPARE(spin->minimum(), 3);
        QCOMPARE(spin->maximum(), 12);
    }
    QCOMPARE(child<QSpinBox>(&dialog, QStringLiteral("udFrom"))->value(), 3);
    QCOMPARE(child<QSpinBox>(&dialog, QStringLiteral("udTo"))->value(), 12);
}

void PrintOptionsDialogTest::fromAndToFollowEachOther() {
    WindowTestDay day;
    ui::PrintOptionsDialog dialog(*day.game);
    auto* from = child<QSpinBox>(&dialog, QStringLiteral("udFrom"));
    auto* to = child<QSpinBox>(&dialog, QStringLiteral("udTo"));

    to->setValue(5);
    from->setValue(7);
    QCOMPARE(to->value(), 7);
    QCOMPARE(dialog.range().to, 7);

    from->setValue(4);
    to->setValue(5);
    to->setValue(2);
    QCOMPARE(from->value(), 2);
    QCOMPARE(dialog.range().from, 2);

    from->setValue(3);
    QCOMPARE(to->value(), 3);
    to->setValue(9);
    QCOMPARE(from->value(), 3);
    QCOMPARE(dialog.range().from, 3);
    QCOMPARE(dialog.range().to, 9);
}

void PrintOptionsDialogTest::neverGoesBelowTheRaceAboutToBeRun() {
    WindowTestDay day;
    day.playRaces(3);
    ui::PrintOptionsDialog dialog(*day.game);
    auto* from = child<QSpinBox>(&dialog, QStringLiteral("udFrom"));
    auto* to = child<QSpinBox>(&dialog, QStringLiteral("udTo"));
    from->setValue(6);
    to->setValue(1);
    QCOMPARE(to->value(), 4);
    QCOMPARE(from->value(), 4);
}

void PrintOptionsDialogTest::pdfStartsEachRaceOnAPageUnderItsHeading() {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    WindowTestDay day;
    ui::PrintOptionsDialog dialog(*day.game);
    TempDir out;

    QVERIFY(dialog.printToPdf(QString::fromStdString((out / "three.pdf").string()), 3, 5));
    const QStringList pages = pdfText(out / "three.pdf").split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    QStringList printed;
    for (const QString& page : pages)
        if (!page.trimmed().isEmpty())
            printed << page;
    // Each race starts a page, and a race too long for one goes on over the next under its heading.
    QVERIFY2(printed.size() >= 3, qPrintable(QString::number(printed.size())));
    for (int race = 3; race <= 5; ++race) {
        QString pages;
        for (const QString& page : printed)
            if (page.trimmed().startsWith(QStringLiteral("Race %1 Grade $").arg(race)))
                pages += page;
        QVERIFY2(!pages.isEmpty(), qPrintable(QString::number(race)));
        QVERIFY(pages.contains(QStringLiteral("Starts:")));
        const int horse = day.day().card.raceHorse[static_cast<std::size_t>(race - 1)][7];
        QVERIFY(pages.contains(qtext(day.day().db.horses[static_cast<std::size_t>(horse)].name)));
    }
    // The entries' lines are bold, the rest plain: the printout carries both weights of one face.
    const QString fonts = pdfFonts(out / "three.pdf");
    if (!fonts.isEmpty()) {
        QVERIFY2(fonts.contains(QStringLiteral("Bold")), qPrintable(fonts));
        QVERIFY2(fonts.count(QLatin1Char('\n')) >= 4, qPrintable(fonts));
    }
    const QByteArray keep = qgetenv("STRIDEWELL_SCREENSHOT_DIR");
    if (!keep.isEmpty())
        std::filesystem::copy_file(out / "three.pdf",
                                   std::filesystem::path(keep.toStdString()) / "program.pdf",
                                   std::filesystem::copy_options::overwrite_existing);

    QVERIFY(dialog.printToPdf(QString::fromStdString((out / "one.pdf").string()), 3, 3));
    QVERIFY(pdfText(out / "one.pdf").contains(QStringLiteral("Race 3 Grade")));
    QVERIFY(!pdfText(out / "one.pdf").contains(QStringLiteral("Race 4 Grade")));

    QVERIFY(!dialog.printToPdf(QString::fromStdString((out / "none.pdf").string()), 13, 14));
}

void PrintOptionsDialogTest::printingLeavesThePoolFilesAndTheRaceAboutToBeRun() {
    WindowTestDay day;
    day.playRaces(1);
    const std::vector<std::string> pools = poolFiles(day);
    const int32_t winTotal = day.day().pools.winTotal;
    ui::PrintOptionsDialog dialog(*day.game);
    QSignalSpy restored(&dialog, &ui::PrintOptionsDialog::raceRestored);
    TempDir out;

    QVERIFY(dialog.printToPdf(QString::fromStdString((out / "rest.pdf").string()), 2, 12));
    QCOMPARE(restored.count(), 1);
    QVERIFY(poolFiles(day) == pools);
    QCOMPARE(day.day().currentRace, 1);
    QCOMPARE(day.day().pools.winTotal, winTotal);
}

void PrintOptionsDialogTest::cancelCloses() {
    WindowTestDay day;
    ui::PrintOptionsDialog dialog(*day.game);
    dialog.show();
    QTest::mouseClick(child<QPushButton>(&dialog, QStringLiteral("cmdCancel")), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

QTEST_MAIN(PrintOptionsDialogTest)
#include "PrintOptionsDialogTest.moc"
