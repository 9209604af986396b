#pragma once

namespace desktop {

class TextView;

// The area a text view's text is laid out in (the text view's width, unbounded height).
class TextContainer {
public:
    explicit TextContainer(TextView& textView)
        : textView_(textView) {}
    TextView& textView() const { return textView_; }

private:
    TextView& textView_;
};

} // namespace desktop
