// The five control arrays: members by index, upper bounds, enumeration, and a bad index.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "com/error.h"
#include "wizard/form/wizard_form.h"

namespace {

template <class Control>
void expectArray(const ostrel::ControlArray<Control>& array, const char* name, int ubound) {
    SCOPED_TRACE(name);
    EXPECT_EQ(array.name(), name);
    EXPECT_EQ(array.lbound(), 0);
    ASSERT_EQ(array.ubound(), ubound);
    int index = 0;
    for (Control* member : array) {
        EXPECT_EQ(member, array[index]);
        EXPECT_EQ(member->objectName(), QString("%1_%2").arg(name).arg(index));
        ++index;
    }
    EXPECT_EQ(index, ubound + 1);

    for (int bad : {-1, ubound + 1, 32767}) {
        try {
            (void)array[bad];
            ADD_FAILURE() << "index " << bad << " was accepted";
        } catch (const com::Error& e) {
            EXPECT_EQ(e.number(), 9);
            EXPECT_EQ(e.description(), "Subscript out of range");
            EXPECT_EQ(e.source(), std::string("frmOstWiz.") + name);
        }
    }
}

TEST(ControlArrays, MembersByIndexUpperBoundAndEnumeration) {
    ostrel::WizardForm form;
    expectArray(form.fraStep(), "fraStep", 8);
    expectArray(form.lblWzStep(), "lblWzStep", 8);
    expectArray(form.Option1(), "Option1", 1);
    expectArray(form.chkRequire(), "chkRequire", 1);
    expectArray(form.cmdWizControl(), "cmdWizControl", 3);
}

}  // namespace
