#pragma once

#include "graphics/CGRect.h"
#include "graphics/CGSize.h"
#include "ui/Alignment.h"
#include "ui/DisplayList.h"
#include "ui/EnvironmentValues.h"
#include "ui/ProposedViewSize.h"

#include <optional>
#include <string>
#include <string_view>

namespace ui {

class Element;

// A leaf view: text, an image, a shape, a colour. It measures itself for a proposal and
// records how it paints, both given the environment in effect where it stands.
class ViewPrimitive {
public:
    virtual ~ViewPrimitive() = default;

    virtual graphics::CGSize sizeThatFits(const ProposedViewSize& proposal,
                                          const EnvironmentValues& environment) const = 0;
    virtual void record(DisplayList& list, const graphics::CGRect& frame,
                        const EnvironmentValues& environment) const = 0;

    // Leaves with values that animate (a shape's data, a colour) hand their targets to their
    // element in update (Element::animate, with the element's transaction) and paint what it
    // presents in render. The defaults animate nothing and record at the element's frame.
    virtual void update(Element&) const {}
    virtual void render(const Element& element, DisplayList& list) const;

    // Equal leaves are not measured again after their parent re-evaluates.
    virtual bool isEqual(const ViewPrimitive&) const { return false; }
    // The text a leaf shows, for tests and accessibility.
    virtual std::optional<std::string> text() const { return std::nullopt; }
    // An explicit alignment guide (a text baseline), in the leaf's own coordinates.
    virtual std::optional<CGFloat> alignmentGuide(const AlignmentID*, graphics::CGSize,
                                                  const EnvironmentValues&) const {
        return std::nullopt;
    }
    virtual std::string_view typeName() const = 0;
};

} // namespace ui
