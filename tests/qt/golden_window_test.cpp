// The real window against the golden sessions: every scripted session a keyboard can type, and
// the demo session, played in the window as a user plays it (keys and clicks on the
// widgets), line by line beside the scripted host playing the same line. After each line the
// window must show what the scripted session shows: the same message boxes in the same order,
// the same texts, ticks and picks, the same results list and selection, the focus where a
// refused number put it, and, after each press and at each `png` line, the same pixels wherever
// no control covers the client area. The scripted host's transcript must be the golden one and
// the pixels at a `png` line the golden picture's, so the window is held to the golden files.
//
// Run under a Polish desktop locale (decimal comma): every number the window shows must still be
// the transcript's.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QtTest/QTest>
#include <algorithm>
#include <clocale>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/control_table.h"
#include "app/res/resource.h"
#include "app/window.h"
#include "face_mask.h"
#include "qt/controls.h"
#include "qt/solver_window.h"
#include "script/json_lines.h"
#include "script/script_host.h"
#include "script/script_line.h"
#include "window_player.h"

using namespace korzenik;

namespace {

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

/// The window's client area as it was last put on the screen: the offscreen platform's copy of
/// the window's backing store, which changes only when the window really repaints.
QImage shownClient(QWidget* window) {
    return window->screen()
        ->grabWindow(window->winId())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

QImage windowImage(const Framebuffer& fb) {
    return QImage(fb.rgb.data(), fb.width, fb.height, fb.width * 3, QImage::Format_RGB888)
        .convertToFormat(QImage::Format_RGB32);
}

/// The client pixels where the face shows that differ from the window picture; empty when none
/// do. Too few pixels compared counts as a difference: the mask would be wrong.
QString pixelsDiffering(const QImage& client, const QImage& picture) {
    static const std::vector<bool> face = faceShows(res::kMainDialog);
    if (client.width() < kClientWidth || client.height() < kClientHeight) {
        return QStringLiteral("the client area is %1 x %2")
            .arg(client.width())
            .arg(client.height());
    }
    if (picture.width() != kWindowWidth || picture.height() != kWindowHeight) {
        return QStringLiteral("the picture is %1 x %2").arg(picture.width()).arg(picture.height());
    }
    int compared = 0;
    int differing = 0;
    QString first;
    for (int y = 0; y < kClientHeight; ++y) {
        for (int x = 0; x < kClientWidth; ++x) {
            if (!face[static_cast<std::size_t>(y) * kClientWidth + static_cast<std::size_t>(x)]) {
                continue;
            }
            ++compared;
            const QRgb shown = client.pixel(x, y);
            const QRgb expected = picture.pixel(x + kClientLeft, y + kClientTop);
            if (shown != expected && differing++ < 3) {
                first += QStringLiteral(" (%1, %2) is %3, not %4;")
                             .arg(x)
                             .arg(y)
                             .arg(shown & 0xFFFFFF, 6, 16, QLatin1Char('0'))
                             .arg(expected & 0xFFFFFF, 6, 16, QLatin1Char('0'));
            }
        }
    }
    // The chart's backdrop alone is 494 x 446 pixels.
    if (compared < 494 * 446) return QStringLiteral("only %1 pixels compared").arg(compared);
    if (differing == 0) return {};
    return QStringLiteral("%1 of %2 client pixels differ:%3")
        .arg(differing)
        .arg(compared)
        .arg(first);
}

/// A line read from a session file, without its line end (\n, with or without \r).
std::string withoutLineEnd(std::string text) {
    if (!text.empty() && text.back() == '\n') text.pop_back();
    if (!text.empty() && text.back() == '\r') text.pop_back();
    return text;
}

/// The step a line of a golden session takes; the sessions played here all parse.
script::ScriptStep stepOf(std::string_view text) {
    script::ScriptStep step;
    std::string err;
    if (!script::parseScriptLine(text, &step, &err)) step.action = script::StepAction::None;
    return step;
}

}  // namespace

class GoldenWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void windowPlaysTheSessionAsItsTranscriptAndPicturesShow_data();
    void windowPlaysTheSessionAsItsTranscriptAndPicturesShow();

private:
    /// What differs between the window's controls and the scripted session's.
    QStringList controlsDiffering(SolverWindow& window, const MemoryDialog& expected);
    /// Waits for the window to repaint, then what still differs from the picture.
    QString waitForPicture(SolverWindow& window, const QImage& picture);
};

void GoldenWindowTest::initTestCase() {
    // The offscreen platform says it cannot raise or grab for the drop-down's list; nothing
    // here depends on either.
    static const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (!message.startsWith(QStringLiteral("This plugin does not support"))) {
                previous(type, context, message);
            }
        });
    QVERIFY2(std::string(std::localeconv()->decimal_point) == ",",
             "run under LC_ALL=pl_PL.UTF-8 (the qt_golden_sessions test sets it up)");
}

void GoldenWindowTest::windowPlaysTheSessionAsItsTranscriptAndPicturesShow_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<bool>("golden");  // a golden transcript and pictures lie beside it
    // Every session but those that end in an error (beside a .stderr file: they test the
    // scripted host's reading) and those that type bytes that are not UTF-8, which a real edit
    // box, holding characters, cannot hold.
    const QDir dir(QStringLiteral(KORZENIK_GOLDEN_DIR));
    int sessions = 0;
    int pictures = 0;
    for (const QString& name : dir.entryList({QStringLiteral("*.ksc")}, QDir::Files)) {
        const QString path = dir.filePath(name);
        if (QFileInfo::exists(dir.filePath(QFileInfo(name).completeBaseName() + ".stderr"))) {
            continue;
        }
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) QFAIL(qPrintable("cannot read " + path));
        bool picture = false;
        bool characters = true;
        while (!file.atEnd()) {
            const QByteArray line = file.readLine();
            picture |= stepOf(withoutLineEnd(line.toStdString())).action == script::StepAction::Png;
            characters &= QString::fromUtf8(line).toUtf8() == line;
        }
        if (!characters) continue;
        QTest::newRow(qPrintable(QFileInfo(name).completeBaseName())) << path << true;
        ++sessions;
        pictures += picture ? 1 : 0;
    }
    QVERIFY2(sessions > 0 && pictures > 0, "no golden sessions found, or none with a picture");
    QTest::newRow("demo") << QStringLiteral(KORZENIK_DEMO_SCRIPT) << false;
}

void GoldenWindowTest::windowPlaysTheSessionAsItsTranscriptAndPicturesShow() {
    QFETCH(QString, script);
    QFETCH(bool, golden);
    QFile file(script);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable("cannot read " + script));

    // The scripted host plays each line first; its events for the line are what the window must
    // show for it.
    std::vector<std::string> transcript;
    script::ScriptSession reference([&](std::string_view e) { transcript.emplace_back(e); });

    SolverState state;
    SolverWindow window(state);
    std::vector<std::string> shownMessages;
    window.setMessageBoxHandler(
        [&](std::string_view text, std::string_view caption, MessageIcon icon) {
            shownMessages.push_back(script::messageEvent(messageIconName(icon), caption, text));
        });
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    int number = 0;
    while (!file.atEnd()) {
        const std::string text = withoutLineEnd(file.readLine().toStdString());
        script::ScriptStep step;
        std::string err;
        ++number;
        QVERIFY2(script::parseScriptLine(text, &step, &err), qPrintable(fromUtf8(err)));
        if (step.action == script::StepAction::None) continue;
        const QString where = QStringLiteral("line %1 (%2): ").arg(number).arg(fromUtf8(step.word));

        const std::size_t eventsBefore = transcript.size();
        // The scripted host does not write the picture: the window is compared with it instead.
        // A drawing for a handout is the scripted host's alone.
        const bool drawsPicture = step.action == script::StepAction::Png;
        if (!drawsPicture && step.action != script::StepAction::Svg) {
            QVERIFY2(reference.runLine(text, &err), qPrintable(where + fromUtf8(err)));
        }
        shownMessages.clear();
        std::map<int, QString> typed;  // the edit boxes' texts before the line
        for (int id : {res::IDC_START, res::IDC_END, res::IDC_PRECISION}) {
            typed[id] = qobject_cast<QLineEdit*>(window.control(id))->text();
        }
        QString why;
        QVERIFY2(playStep(window, step, &why), qPrintable(where + why));

        std::vector<std::string> expectedMessages;
        int focusExpected = res::IDC_STATIC;
        for (std::size_t i = eventsBefore; i < transcript.size(); ++i) {
            const std::string& e = transcript[i];
            if (e.starts_with("{\"event\":\"message\"")) expectedMessages.push_back(e);
            for (int id : {res::IDC_START, res::IDC_END, res::IDC_PRECISION}) {
                if (e == script::focusEvent(controlWord(id))) focusExpected = id;
            }
        }
        QCOMPARE(shownMessages, expectedMessages);
        if (focusExpected != res::IDC_STATIC) {
            auto* field = qobject_cast<QLineEdit*>(window.control(focusExpected));
            QVERIFY2(window.focusWidget() == field,
                     qPrintable(where + "the refused field lacks the focus"));
            // Selected whole, unless the rest of the press wrote the field again.
            if (field->text() == typed[focusExpected]) {
                QCOMPARE(field->selectedText(), field->text());
            }
        }
        const QStringList differing = controlsDiffering(window, reference.controls());
        QVERIFY2(differing.isEmpty(), qPrintable(where + differing.join(QStringLiteral("; "))));

        if (step.action == script::StepAction::Press) {
            const QString pixels =
                waitForPicture(window, windowImage(reference.controls().window()));
            QVERIFY2(pixels.isEmpty(), qPrintable(where + pixels));
        } else if (drawsPicture) {
            // The golden picture where the session has one; the demo's is the scripted host's.
            const QString path = QDir(QFileInfo(script).path())
                                     .filePath(QFileInfo(fromUtf8(step.argument)).fileName());
            const QImage picture = golden ? QImage(path).convertToFormat(QImage::Format_RGB32)
                                          : windowImage(reference.controls().window());
            QVERIFY2(!picture.isNull(), qPrintable(where + "no picture " + path));
            const QString pixels = waitForPicture(window, picture);
            QVERIFY2(pixels.isEmpty(), qPrintable(where + pixels));
        }
    }

    if (golden) {
        const QString path = QDir(QFileInfo(script).path())
                                 .filePath(QFileInfo(script).completeBaseName() + ".jsonl");
        QFile expected(path);
        QVERIFY2(expected.open(QIODevice::ReadOnly), qPrintable("cannot read " + path));
        std::string played;
        for (const std::string& e : transcript) played += e + "\n";
        QCOMPARE(fromUtf8(played), QString::fromUtf8(expected.readAll()));
    }
}

QStringList GoldenWindowTest::controlsDiffering(SolverWindow& window,
                                                const MemoryDialog& expected) {
    QStringList out;
    const auto differ = [&](int id, const QString& shown, const std::string& wanted) {
        if (shown != fromUtf8(wanted)) {
            out << QStringLiteral("%1 shows \"%2\", not \"%3\"")
                       .arg(fromUtf8(controlIdentifier(id)), shown, fromUtf8(wanted));
        }
    };
    for (const res::ControlTemplate& row : res::kMainDialog.controls) {
        const ControlPlan c = controlPlan(row);
        QWidget* widget = window.control(c.id);
        if (c.id == res::IDC_STATIC) continue;
        switch (c.kind) {
            case ControlKind::Edit:
                differ(c.id, qobject_cast<QLineEdit*>(widget)->text(), expected.controlText(c.id));
                break;
            case ControlKind::Label:
                differ(c.id, qobject_cast<QLabel*>(widget)->text(), expected.controlText(c.id));
                break;
            case ControlKind::DropDown:
                differ(c.id, qobject_cast<QComboBox*>(widget)->currentText(),
                       expected.controlText(c.id));
                break;
            case ControlKind::CheckBox:
                differ(c.id, qobject_cast<QCheckBox*>(widget)->isChecked() ? "1" : "0",
                       std::to_string(expected.checkState(c.id)));
                break;
            case ControlKind::List: {
                auto* list = qobject_cast<QListWidget*>(widget);
                QStringList shown, wanted;
                for (int i = 0; i < list->count(); ++i) shown << list->item(i)->text();
                for (const std::string& l : expected.lines()) wanted << fromUtf8(l);
                if (shown != wanted) {
                    out << "the list holds \"" + shown.join(" / ") + "\", not \"" +
                               wanted.join(" / ") + "\"";
                }
                const QList<QListWidgetItem*> selected = list->selectedItems();
                const int selectedRow = selected.isEmpty() ? -1 : list->row(selected.first());
                if (selectedRow != expected.selectedLine()) {
                    out << QStringLiteral("line %1 is selected, not %2")
                               .arg(selectedRow)
                               .arg(expected.selectedLine());
                }
                break;
            }
            default: break;
        }
    }
    return out;
}

QString GoldenWindowTest::waitForPicture(SolverWindow& window, const QImage& picture) {
    QString differing;
    (void)QTest::qWaitFor(
        [&] {
            differing = pixelsDiffering(shownClient(&window), picture);
            return differing.isEmpty();
        },
        3000);
    return differing;
}

QTEST_MAIN(GoldenWindowTest)
#include "golden_window_test.moc"
