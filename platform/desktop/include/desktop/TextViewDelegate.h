#pragma once

#include <string>
#include <string_view>

namespace desktop {

class TextView;

// What a text view's notifications carry: their name ("NSTextDidChangeNotification", ...) and
// the text view they are about.
struct TextViewNotification {
    std::string name;
    TextView* object = nullptr;
};

// Told by a text view what happens to its text. Editing begins at the first change after the
// view took the focus, not at the focus itself; it ends when the view loses the focus, or when
// a field editor's Return or Tab is left to the view. Commands come as the selectors of the
// keys: "insertNewline:" (Return), "cancelOperation:" (Escape), "insertTab:", "insertBacktab:".
class TextViewDelegate {
public:
    virtual ~TextViewDelegate() = default;
    virtual void textDidBeginEditing(const TextViewNotification&) {}
    virtual void textDidChange(const TextViewNotification&) {}
    virtual void textDidEndEditing(const TextViewNotification&) {}
    // True when the delegate handled the command; otherwise the text view does what it does.
    virtual bool doCommandBySelector(TextView&, std::string_view /*selector*/) { return false; }
};

} // namespace desktop
