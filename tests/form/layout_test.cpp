// The wizard window read back from its live widgets and compared with the layout tables:
// place and size in twips, caption, initial state, length limit, font and focus order.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "wizard/form/form_fonts.h"
#include "wizard/form/wizard_form.h"

namespace {

constexpr int kTwipsPerPixel = 15;

struct Rect {
    int left, top, width, height;
};

Rect twips(const QWidget& w) {
    const QRect g = w.geometry();
    return {g.x() * kTwipsPerPixel, g.y() * kTwipsPerPixel, g.width() * kTwipsPerPixel,
            g.height() * kTwipsPerPixel};
}

struct Font {
    double points;
    bool bold;
};
constexpr Font kWindowFont{8.25, false};
constexpr Font kStepFont{9.75, true};

enum class State { None, Unchecked, Checked };

struct Control {
    const char* name = nullptr;
    const char* in = nullptr;    // its container
    const char* type = nullptr;  // the Qt class standing for the control's kind
    Rect rect{};
    std::optional<std::string> caption = std::nullopt;  // its text; a text box's content
    State state = State::None;
    int tab = -1;   // -1: takes no focus
    int limit = 0;  // text boxes: 0 means no limit of its own
    Font font = kWindowFont;
};

const std::vector<Control>& controls() {
    // clang-format off
    static const std::vector<Control> table = {
        // The banner.
        {.name = "Picture1", .in = "frmOstWiz", .type = "QWidget", .rect = {0, 0, 8595, 1215},
         .tab = 0},
        {.name = "Image1", .in = "Picture1", .type = "QLabel", .rect = {0, 240, 1680, 600}},
        {.name = "Label2", .in = "Picture1", .type = "QLabel", .rect = {2070, 240, 4455, 375},
         .caption = "Ostrel FrontPage Plug-In", .font = {14.25, true}},
        {.name = "Label3", .in = "Picture1", .type = "QLabel", .rect = {1470, 840, 5655, 255},
         .caption = "Jointly by www.ostrel.example & www.publisher.example", .font = {8.25, true}},
        {.name = "Image2", .in = "Picture1", .type = "QLabel", .rect = {6840, 240, 1680, 615}},
        // The page panels at their design-time places, and their labels.
        {.name = "fraStep_0", .in = "frmOstWiz", .type = "QFrame", .rect = {150, 1320, 8295, 3255}},
        {.name = "fraStep_1", .in = "frmOstWiz", .type = "QFrame", .rect = {720, 1320, 8295, 3255}},
        {.name = "fraStep_2", .in = "frmOstWiz", .type = "QFrame", .rect = {360, 1320, 8295, 3255}},
        {.name = "fraStep_3", .in = "frmOstWiz", .type = "QFrame", .rect = {480, 1440, 8295, 3255}},
        {.name = "fraStep_4", .in = "frmOstWiz", .type = "QFrame", .rect = {480, 1320, 8295, 3255}},
        {.name = "fraStep_5", .in = "frmOstWiz", .type = "QFrame", .rect = {480, 1440, 8295, 3255}},
        {.name = "fraStep_6", .in = "frmOstWiz", .type = "QFrame", .rect = {840, 1440, 8295, 3255}},
        {.name = "fraStep_7", .in = "frmOstWiz", .type = "QFrame", .rect = {960, 1320, 8295, 3255}},
        {.name = "fraStep_8", .in = "frmOstWiz", .type = "QFrame",
         .rect = {1800, 1440, 8295, 3255}},
        {.name = "lblWzStep_0", .in = "fraStep_0", .type = "QLabel", .rect = {510, 240, 7575, 2175},
         .font = kStepFont},
        {.name = "lblWzStep_1", .in = "fraStep_1", .type = "QLabel", .rect = {480, 360, 7575, 2055},
         .font = kStepFont},
        {.name = "lblWzStep_2", .in = "fraStep_2", .type = "QLabel", .rect = {480, 360, 7575, 1455},
         .font = kStepFont},
        {.name = "lblWzStep_3", .in = "fraStep_3", .type = "QLabel", .rect = {480, 360, 7575, 1455},
         .font = kStepFont},
        {.name = "lblWzStep_4", .in = "fraStep_4", .type = "QLabel", .rect = {480, 360, 7575, 2055},
         .font = kStepFont},
        {.name = "lblWzStep_5", .in = "fraStep_5", .type = "QLabel", .rect = {510, 360, 7575, 1935},
         .font = kStepFont},
        {.name = "lblWzStep_6", .in = "fraStep_6", .type = "QLabel", .rect = {510, 360, 7575, 2175},
         .font = kStepFont},
        {.name = "lblWzStep_7", .in = "fraStep_7", .type = "QLabel", .rect = {510, 360, 7575, 1815},
         .font = kStepFont},
        {.name = "lblWzStep_8", .in = "fraStep_8", .type = "QLabel", .rect = {510, 360, 7575, 1935},
         .font = kStepFont},
        // The controls of the pages.
        {.name = "cmdGetNewAccount", .in = "fraStep_0", .type = "QPushButton",
         .rect = {4455, 2520, 3255, 375}, .caption = "Create New Ostrel Account", .tab = 8},
        {.name = "cmdBrowseSite", .in = "fraStep_0", .type = "QPushButton",
         .rect = {885, 2520, 3255, 375}, .caption = "Visit Publisher Web Site", .tab = 21},
        {.name = "txtUserName", .in = "fraStep_1", .type = "QLineEdit",
         .rect = {480, 2520, 6015, 375}, .caption = "", .tab = 27},
        {.name = "Option1_0", .in = "fraStep_2", .type = "QRadioButton",
         .rect = {2070, 2760, 2055, 255}, .caption = "Email Link", .state = State::Unchecked,
         .tab = 33},
        {.name = "Option1_1", .in = "fraStep_2", .type = "QRadioButton",
         .rect = {4470, 2760, 2055, 255}, .caption = "Web Form", .state = State::Checked,
         .tab = 34},
        {.name = "Label1", .in = "fraStep_3", .type = "QLabel", .rect = {1170, 2640, 2175, 255},
         .caption = "Mail to link text:"},
        {.name = "txtLinkText", .in = "fraStep_3", .type = "QLineEdit",
         .rect = {3450, 2640, 3975, 285}, .caption = "", .tab = 37},
        {.name = "txtFormHeader", .in = "fraStep_4", .type = "QLineEdit",
         .rect = {480, 2520, 4095, 375}, .caption = "For More Information", .tab = 11},
        {.name = "txtThankURL", .in = "fraStep_5", .type = "QLineEdit",
         .rect = {480, 2400, 6735, 405}, .caption = "http://www.publisher.example/thankyou.htm",
         .tab = 14},
        {.name = "txtAdTracking", .in = "fraStep_6", .type = "QLineEdit",
         .rect = {480, 2640, 4335, 375}, .caption = "", .tab = 17, .limit = 20},
        {.name = "txtMsgNo", .in = "fraStep_7", .type = "QLineEdit", .rect = {480, 2520, 1095, 285},
         .caption = "", .tab = 24, .limit = 10},
        {.name = "chkNoResponse", .in = "fraStep_7", .type = "QCheckBox",
         .rect = {2520, 2520, 3975, 255}, .caption = "Do Not Place into Auroresponder Series",
         .state = State::Unchecked, .tab = 25},
        {.name = "chkRequire_0", .in = "fraStep_8", .type = "QCheckBox",
         .rect = {480, 2280, 2775, 255}, .caption = "Require User Name", .state = State::Checked,
         .tab = 19},
        {.name = "chkRequire_1", .in = "fraStep_8", .type = "QCheckBox",
         .rect = {480, 2640, 3015, 255}, .caption = "Require User Email", .state = State::Checked,
         .tab = 20},
        // The separator (its line runs along its top edge) and the wizard buttons.
        {.name = "Line1", .in = "frmOstWiz", .type = "QFrame",
         .rect = {240, 4800, 8160, 2 * kTwipsPerPixel}},
        {.name = "cmdWizControl_0", .in = "frmOstWiz", .type = "QPushButton",
         .rect = {1350, 5160, 1215, 375}, .caption = "&Cancel", .tab = 1},
        {.name = "cmdWizControl_1", .in = "frmOstWiz", .type = "QPushButton",
         .rect = {2910, 5160, 1215, 375}, .caption = "&Back", .tab = 2},
        {.name = "cmdWizControl_2", .in = "frmOstWiz", .type = "QPushButton",
         .rect = {4470, 5160, 1215, 375}, .caption = "&Next", .tab = 3},
        {.name = "cmdWizControl_3", .in = "frmOstWiz", .type = "QPushButton",
         .rect = {6030, 5160, 1215, 375}, .caption = "&Finish", .tab = 4},
    };
    // clang-format on
    return table;
}

std::optional<std::string> captionOf(const QWidget& w) {
    if (auto* b = qobject_cast<const QAbstractButton*>(&w)) return b->text().toStdString();
    if (auto* e = qobject_cast<const QLineEdit*>(&w)) return e->text().toStdString();
    if (auto* l = qobject_cast<const QLabel*>(&w); l && l->pixmap().isNull()) {
        return l->text().toStdString();
    }
    return std::nullopt;
}

State stateOf(const QWidget& w) {
    if (auto* b = qobject_cast<const QAbstractButton*>(&w); b && b->isCheckable()) {
        return b->isChecked() ? State::Checked : State::Unchecked;
    }
    return State::None;
}

class WizardLayout : public testing::Test {
protected:
    ostrel::WizardForm form;
};

TEST_F(WizardLayout, EveryControlAsTheTablesLayItOut) {
    for (const Control& c : controls()) {
        SCOPED_TRACE(c.name);
        auto* w = form.findChild<QWidget*>(c.name);
        ASSERT_NE(w, nullptr);
        EXPECT_STREQ(w->metaObject()->className(), c.type);
        EXPECT_EQ(w->parentWidget()->objectName().toStdString(), c.in);
        const Rect r = twips(*w);
        EXPECT_EQ(r.left, c.rect.left);
        EXPECT_EQ(r.top, c.rect.top);
        EXPECT_EQ(r.width, c.rect.width);
        EXPECT_EQ(r.height, c.rect.height);
        if (c.caption) {
            EXPECT_EQ(captionOf(*w), c.caption);
        }
        EXPECT_EQ(stateOf(*w), c.state);
        if (auto* box = qobject_cast<QLineEdit*>(w)) {
            EXPECT_EQ(box->maxLength(), c.limit ? c.limit : 32767) << "Qt's default: no limit";
        }
        EXPECT_EQ(w->focusPolicy() != Qt::NoFocus, c.tab >= 0);
        EXPECT_FALSE(w->isHidden());
        EXPECT_TRUE(w->isEnabled());
        EXPECT_EQ(w->font().family().toStdString(), ostrel::kWizardFontFamily);
        EXPECT_DOUBLE_EQ(w->font().pointSizeF(), c.font.points);
        EXPECT_EQ(w->font().bold(), c.font.bold);
        EXPECT_EQ(w->font().weight(), c.font.bold ? QFont::Bold : QFont::Normal);
        // The font drawn is Verdana, or its stand-in where Verdana is not installed.
        const std::string drawn = QFontInfo(w->font()).family().toStdString();
        EXPECT_TRUE(drawn == ostrel::kWizardFontFamily || drawn == ostrel::kVerdanaStandIn)
            << drawn;
    }
}

TEST_F(WizardLayout, EveryWidgetIsInTheTables) {
    std::vector<std::string> unknown;
    for (QWidget* w : form.findChildren<QWidget*>()) {
        const std::string name = w->objectName().toStdString();
        if (name.starts_with("qt_")) continue;  // Qt's own parts of a widget
        const bool listed = std::any_of(controls().begin(), controls().end(),
                                        [&](const Control& c) { return name == c.name; });
        if (!listed) unknown.push_back(name);
    }
    EXPECT_TRUE(unknown.empty()) << unknown.size() << " widget(s) missing from the tables, first: "
                                 << (unknown.empty() ? "" : unknown.front());
}

TEST_F(WizardLayout, FocusMovesInAscendingTabIndex) {
    std::vector<const Control*> expected;
    for (const Control& c : controls()) {
        if (c.tab >= 0) expected.push_back(&c);
    }
    std::sort(expected.begin(), expected.end(),
              [](const Control* a, const Control* b) { return a->tab < b->tab; });

    std::vector<std::string> chain;
    for (QWidget* w = form.nextInFocusChain(); w != &form; w = w->nextInFocusChain()) {
        if (w->focusPolicy() & Qt::TabFocus) chain.push_back(w->objectName().toStdString());
    }
    ASSERT_EQ(chain.size(), expected.size());
    for (std::size_t i = 0; i < chain.size(); ++i) EXPECT_EQ(chain[i], expected[i]->name);
}

TEST_F(WizardLayout, TheWindow) {
    EXPECT_EQ(form.objectName(), "frmOstWiz");
    EXPECT_EQ(form.windowTitle(), "Ostrel Autoresponder Wizard");
    EXPECT_EQ(form.size(), QSize(8595 / kTwipsPerPixel, 5790 / kTwipsPerPixel));
    EXPECT_EQ(form.minimumSize(), form.maximumSize()) << "the layout does not grow";
    EXPECT_DOUBLE_EQ(form.font().pointSizeF(), 8.25);
    const Qt::WindowFlags flags = form.windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Dialog);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowContextHelpButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_EQ(form.windowIcon().availableSizes(), QList<QSize>{QSize(32, 32)});
}

TEST_F(WizardLayout, TheBannerIsWhite) {
    for (QWidget* w : {form.Picture1(), static_cast<QWidget*>(form.Label2()),
                       static_cast<QWidget*>(form.Label3())}) {
        EXPECT_TRUE(w->autoFillBackground()) << w->objectName().toStdString();
        EXPECT_EQ(w->palette().color(QPalette::Window), QColor(255, 255, 255));
    }
}

TEST_F(WizardLayout, PageLabelsCarryTheirTagsAndWrapInAFixedBox) {
    const char* tags[] = {"101", "102", "103", "109", "104", "105", "106", "107", "108"};
    ASSERT_EQ(form.lblWzStep().ubound(), 8);
    for (int i = 0; i <= form.lblWzStep().ubound(); ++i) {
        QLabel* label = form.lblWzStep()[i];
        SCOPED_TRACE(label->objectName().toStdString());
        EXPECT_EQ(ostrel::WizardForm::tag(*label), tags[i]);
        EXPECT_TRUE(label->wordWrap());
        EXPECT_EQ(label->alignment(), Qt::AlignLeft | Qt::AlignTop);
        EXPECT_EQ(label->textFormat(), Qt::PlainText) << "quotes and <> show as typed";
        const QRect before = label->geometry();
        label->setText(ostrel::WizardForm::text(std::stoi(tags[i])));
        EXPECT_EQ(label->geometry(), before) << "the label does not grow with its text";
    }
}

TEST_F(WizardLayout, ShownCentredOnItsOwner) {
    QWidget owner;
    owner.setGeometry(60, 40, 700, 520);  // well inside the screen, which clamps a dialog
    owner.show();
    {
        ostrel::WizardForm child(&owner);
        child.show();
        // The frames, title bars included, share their centre.
        const QPoint offset = child.frameGeometry().center() - owner.frameGeometry().center();
        EXPECT_LE(offset.manhattanLength(), 2) << offset.x() << "," << offset.y();
        EXPECT_TRUE(child.isWindow());
    }
}

}  // namespace
