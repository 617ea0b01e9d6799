#pragma once
// What the download and erase dialogs share: a form with a line per step in a fixed-pitch face,
// a status line ("P_STATUS") and a gauge ("STATUS"), the 100 ms tick that drives their step
// machine, and one button (F5, the button and the close box all press it). Each dialog says what
// its lines read and what its button does.
#include <QString>
#include <memory>

#include "toolkit/ZafTimer.h"
#include "toolkit/ZafWindow.h"

namespace tolm {

class StepDialog : public ZafDialogWindow {
    Q_OBJECT
public:
    static constexpr ZafEventType kTickEvent = 10000;    // the dialog's 100 ms timer
    static constexpr ZafEventType kButtonEvent = 10001;  // its one button, F5 and the close box

    ~StepDialog() override;

    ZafEventType Event(const ZafEventStruct& event) override;

    QString StatusText() const;
    ZafTimer* Timer() const { return timer_.get(); }

protected:
    // The form `name` in the fonts given; the step lines in Courier New of `linePoints`.
    StepDialog(const QString& name, UserPersist* reader, int normalFont, int midFont,
               int linePoints);

    // The step machine's tick, and the button (also F5 and the close box).
    virtual void Tick() = 0;
    virtual void ButtonPressed() = 0;

    // The tick runs from here until StopTicks(); a sequence that ended at its start needs none.
    void StartTicks();
    void StopTicks();

    int LineFont() const { return lineFont_; }
    void SetStatus(const QString& text);
    // The gauge's range and value; its text format too when `format` is not empty.
    void SetGauge(int value, int maximum, const QString& format = QString());
    ZafObject Gauge() const { return gauge_; }

    // Keys other than F5 go to the window (true) or are swallowed (false).
    bool passOtherKeys_ = true;

private:
    int lineFont_ = 0;
    ZafObject status_;
    ZafObject gauge_;
    std::unique_ptr<ZafTimer> timer_;
};

}  // namespace tolm
