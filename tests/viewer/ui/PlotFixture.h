#pragma once
// The viewer's windows as the user meets them: raw files built byte for byte, the program's window
// resources, a scripted user for the message boxes, file dialogs and modal dialogs.
#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>

#include "tests/support/FakeDialogs.h"
#include "tests/viewer/ViewerFixture.h"
#include "toolkit/UserPersist.h"
#include "toolkit/ZafApplication.h"
#include "toolkit/ZafStorage.h"
#include "toolkit/ZafWindowManager.h"
#include "viewer/ui/ChartCanvas.h"
#include "viewer/ui/Plot2D.h"
#include "viewer/ui/PlotWindow.h"
#include "viewer/ui/ViewerEvents.h"

// Plays the user of a modal dialog: each step runs, in order, on the dialog of that name while it
// runs modally. A dialog that runs with no step left is cancelled and counted: no test hangs.
class ModalUser {
public:
    using Step = std::function<void(ZafDialogWindow&)>;

    explicit ModalUser(const QString& dialog) : name_(dialog) {
        timer_.setInterval(2);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Look(); });
        timer_.start();
    }
    ModalUser& Then(Step step) {
        steps_.push_back(std::move(step));
        return *this;
    }
    bool Done() const { return steps_.empty(); }
    int unexpected = 0;

private:
    void Look() {
        auto* dialog = qobject_cast<ZafDialogWindow*>(zafWindowManager()->Get(name_));
        if (!dialog || !dialog->Running()) {
            return;
        }
        if (steps_.empty()) {
            ++unexpected;
            dialog->EndModal(S_CLOSE);
            return;
        }
        Step step = std::move(steps_.front());
        steps_.pop_front();
        step(*dialog);
    }

    QString name_;
    std::deque<Step> steps_;
    QTimer timer_;
};

// Clicks a dialog's button, or the `item`th button of its group `name`.
inline void ClickIn(ZafWindow& dialog, const char* name, int item = -1) {
    const ZafObject object = dialog.Get(QLatin1String(name));
    (item < 0 ? object : object.Child(item)).as<QAbstractButton>()->click();
}

inline QByteArray contentOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

class PlotTest : public ViewerTest {
protected:
    void SetUp() override {
        ViewerTest::SetUp();
        QSettings().setValue(QStringLiteral("DataDir"), data.path());
        zafApplication()->SetDefaultReader(&reader);
    }
    void TearDown() override {
        delete plot.data();
        testenv::pump();
        zafApplication()->SetDefaultReader(nullptr);
    }

    // Shows a plot window for these flights as the main window does.
    void Open(QList<tolm::viewer::FlightDataElement> flights) {
        plot = new tolm::viewer::Plot2D(std::move(flights));
        Show();
    }
    void Show() {
        ASSERT_TRUE(plot->HasFlights());
        plot->resize(1100, 760);
        zafWindowManager()->Add(plot);
        plot->Event(ZafEventStruct(tolm::ViewerEvent::Open, nullptr, plot));
        testenv::pump();
    }

    // The user's choices: a menu or tool bar item ("PDI_...~PUI_..."), a parameter, a sample.
    void Choose(const QString& item) {
        QAction* action = plot->Get(item).as<QAction>();
        ASSERT_NE(action, nullptr) << item.toStdString();
        action->trigger();
        testenv::pump();
    }
    void ChooseParameter(const QString& name) {
        for (QAction* a : plot->Get(QStringLiteral("PDI_PARAMETER")).as<QMenu>()->actions()) {
            if (a->text() == name) {
                a->trigger();
            }
        }
        testenv::pump();
    }
    void ChooseSample(int row) {
        plot->Get(QStringLiteral("G_SAMPLE")).as<QListWidget>()->setCurrentRow(row);
        testenv::pump();
    }

    // The chart shows what the viewer's core computes for the window's choices.
    void ExpectTheCoresChart() const {
        const tolm::viewer::ChartContents core = plot->Model().chart();
        const tolm::viewer::ChartContents shown = Chart().Displayed();
        ASSERT_EQ(shown.sets.size(), core.sets.size());
        for (int s = 0; s < core.sets.size(); ++s) {
            EXPECT_EQ(shown.sets[s].x, core.sets[s].x) << "set " << s;
            EXPECT_EQ(shown.sets[s].y, core.sets[s].y) << "set " << s;
            EXPECT_EQ(shown.sets[s].shown, core.sets[s].shown) << "set " << s;
        }
        EXPECT_EQ(shown.header, core.header);
        EXPECT_EQ(shown.footer, core.footer);
        EXPECT_EQ(shown.xTitle, core.xTitle);
        EXPECT_EQ(shown.yTitle, core.yTitle);
        EXPECT_EQ(shown.legend, core.showLegend ? core.legend : QStringList());
    }

    tolm::viewer::PlotWindow& Chart() const { return *plot->Chart(); }
    QWidget* Canvas() const { return Chart().Canvas(); }
    QPoint PixelOf(int set, int point) const { return Chart().PointPixel(set, point).toPoint(); }
    void Hover(int set, int point) {
        QTest::mouseMove(Canvas(), PixelOf(set, point));
        testenv::pump();
    }
    void Click(int set, int point) {
        QTest::mouseClick(Canvas(), Qt::LeftButton, {}, PixelOf(set, point));
        testenv::pump();
    }

    FakeDialogs dialogs;
    ZafStorage storage{testenv::binDir() + QStringLiteral("/QUOR.znc")};
    UserPersist reader{&storage};
    QPointer<tolm::viewer::Plot2D> plot;
};
