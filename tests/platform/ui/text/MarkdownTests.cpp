#include "ui/Markdown.h"

#include <gtest/gtest.h>

#include <ostream>

using ui::MarkdownRun;
using Runs = std::vector<MarkdownRun>;

namespace ui {
void PrintTo(const MarkdownRun& run, std::ostream* os) {
    *os << '"' << run.text << '"' << (run.strong ? " strong" : "") << (run.emphasis ? " emphasis" : "")
        << (run.code ? " code" : "") << (run.link ? " link " + *run.link : "");
}
} // namespace ui

namespace {

MarkdownRun plain(std::string text) {
    return {std::move(text)};
}
MarkdownRun strong(std::string text) {
    return {std::move(text), true};
}
MarkdownRun emphasis(std::string text) {
    return {std::move(text), false, true};
}

} // namespace

TEST(MarkdownTest, EmphasisStrongAndCode) {
    EXPECT_EQ(ui::parseInlineMarkdown("plain text"), Runs{plain("plain text")});
    EXPECT_EQ(
        ui::parseInlineMarkdown("a **bold** and *it* _too_"),
        (Runs{plain("a "), strong("bold"), plain(" and "), emphasis("it"), plain(" "), emphasis("too")}));
    EXPECT_EQ(ui::parseInlineMarkdown("***both***"), (Runs{{"both", true, true}}));
    EXPECT_EQ(ui::parseInlineMarkdown("*a **b** c*"),
              (Runs{emphasis("a "), {"b", true, true}, emphasis(" c")}));
    EXPECT_EQ(ui::parseInlineMarkdown("`x *y*`"), (Runs{{"x *y*", false, false, true}}));
    // A delimiter that closes nothing may still open for a later one.
    EXPECT_EQ(ui::parseInlineMarkdown("a*b*c"), (Runs{plain("a"), emphasis("b"), plain("c")}));
    EXPECT_EQ(ui::parseInlineMarkdown("x**y**z"), (Runs{plain("x"), strong("y"), plain("z")}));
}

TEST(MarkdownTest, WhatDoesNotPairStaysLiteral) {
    EXPECT_EQ(ui::parseInlineMarkdown("2 * 3 * 4"), Runs{plain("2 * 3 * 4")});
    EXPECT_EQ(ui::parseInlineMarkdown("snake_case_name"), Runs{plain("snake_case_name")});
    EXPECT_EQ(ui::parseInlineMarkdown("*open"), Runs{plain("*open")});
    EXPECT_EQ(ui::parseInlineMarkdown("**half*"), (Runs{plain("*"), emphasis("half")}));
    EXPECT_EQ(ui::parseInlineMarkdown("\\*not\\* `open"), Runs{plain("*not* `open")});
    EXPECT_EQ(ui::parseInlineMarkdown("[no link] (here)"), Runs{plain("[no link] (here)")});
    EXPECT_EQ(ui::parseInlineMarkdown("line\n  two"), Runs{plain("line\n  two")}) << "whitespace is kept";
}

TEST(MarkdownTest, LinksWithEmphasisAroundAndInside) {
    MarkdownRun link{"Quoril", false, false, false, "https://example.org/a_(b)"};
    EXPECT_EQ(ui::parseInlineMarkdown("See [Quoril](https://example.org/a_(b))."),
              (Runs{plain("See "), link, plain(".")}));

    link.strong = link.emphasis = true;
    link.link = "https://example.org";
    EXPECT_EQ(ui::parseInlineMarkdown("***[Quoril](https://example.org)***"), Runs{link});

    EXPECT_EQ(ui::parseInlineMarkdown("[a *b*](<u v> \"title\")"),
              (Runs{{"a ", false, false, false, "u v"}, {"b", false, true, false, "u v"}}));
    EXPECT_EQ(ui::parseInlineMarkdown("[empty]()"), (Runs{{"empty", false, false, false, ""}}));
    EXPECT_EQ(ui::parseInlineMarkdown("[[inner](x)](y)"),
              (Runs{plain("["), {"inner", false, false, false, "x"}, plain("](y)")}))
        << "links do not nest";
}
