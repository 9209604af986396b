// The click on a link inside a text.
#pragma once

#include "ui/AttributedRun.h"
#include "ui/EnvironmentActions.h"
#include "ui/Gesture.h"
#include "ui/TextLayout.h"

#include <memory>
#include <vector>

namespace ui::detail {

// Recognised when the pointer goes down and comes up on the same link of the text laid out from
// `runs`, which it then opens; a press anywhere else fails at once, so it goes on to the views
// around and behind.
class LinkTapGesture final : public Gesture {
public:
    LinkTapGesture(std::vector<AttributedRun> runs, TextLayoutOptions options, OpenURLAction openURL)
        : runs_(std::move(runs))
        , options_(options)
        , openURL_(std::move(openURL)) {}

    std::optional<foundation::URL> link(QPointF point, graphics::CGSize size) const {
        return TextLayout(runs_, options_, size.width, size.height).link(point);
    }
    void open(const foundation::URL& url) const { openURL_(url); }

    std::shared_ptr<const Gesture> clone() const override { return std::make_shared<LinkTapGesture>(*this); }
    std::unique_ptr<GestureRecognizer>
    makeRecognizer(std::function<std::shared_ptr<const Gesture>()> current) const override;

private:
    std::vector<AttributedRun> runs_;
    TextLayoutOptions options_;
    OpenURLAction openURL_;
};

} // namespace ui::detail
