// A control array of the wizard window: like controls addressed by a small index from 0.
#pragma once

#include <QString>
#include <QWidget>
#include <string>
#include <utility>
#include <vector>

#include "com/error.h"

namespace ostrel {

template <class Control>
class ControlArray {
public:
    ControlArray() = default;
    ControlArray(std::string name, std::vector<Control*> members)
        : m_name(std::move(name)), m_members(std::move(members)) {}

    // The member at `index`; an index outside 0..ubound() names no member and fails with
    // "Subscript out of range".
    Control* operator[](int index) const {
        if (index < 0 || index > ubound()) {
            throw com::Error(com::errc::subscriptOutOfRange, "Subscript out of range",
                             "frmOstWiz." + m_name);
        }
        return m_members[static_cast<std::size_t>(index)];
    }
    int lbound() const { return 0; }
    int ubound() const { return static_cast<int>(m_members.size()) - 1; }
    int count() const { return static_cast<int>(m_members.size()); }
    const std::string& name() const { return m_name; }

    // Enumeration, in index order.
    auto begin() const { return m_members.cbegin(); }
    auto end() const { return m_members.cend(); }

private:
    std::string m_name;
    std::vector<Control*> m_members;
};

// Collects the array `name` from the children of `window`: the controls named name_0,
// name_1, ... up to the first index that is missing. The layout decides how many there are.
template <class Control>
ControlArray<Control> collectControlArray(const QWidget& window, const std::string& name) {
    std::vector<Control*> members;
    for (int i = 0;; ++i) {
        const QString member = QString::fromStdString(name) + '_' + QString::number(i);
        auto* control = window.findChild<Control*>(member);
        if (control == nullptr) break;
        members.push_back(control);
    }
    if (members.empty()) {
        throw com::Error(com::errc::subscriptOutOfRange,
                         "The wizard's layout has no control array named " + name + ".",
                         "frmOstWiz");
    }
    return ControlArray<Control>(name, std::move(members));
}

}  // namespace ostrel
