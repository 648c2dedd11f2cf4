// CaptureSwitch.h: the capture switch, and whether the messages it has ignored since it went off were told of.
#pragma once

namespace app {

// On at every start, never saved. While it is off every arriving message is
// ignored: neither shown nor written. The first one ignored after the
// switch went off is told of, so that the switch is not mistaken for silence.
class CaptureSwitch {
public:
    bool IsOn() const { return on_; }
    void Toggle() {
        on_ = !on_;
        ignoredTold_ = false;
    }
    // A message arrived while the switch is off; true for the first since it went off.
    bool FirstIgnored() {
        const bool first = !ignoredTold_;
        ignoredTold_ = true;
        return first;
    }

private:
    bool on_ = true;
    bool ignoredTold_ = false;
};

}  // namespace app
