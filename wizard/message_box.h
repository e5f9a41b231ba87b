// The modal message box of the form toolkit, behind a seam so that tests can answer it.
#pragma once

#include <string>

namespace ostrel {

// Style values as the original toolkit numbers them.
namespace mb {
constexpr int okOnly = 0;
constexpr int critical = 16;
constexpr int exclamation = 48;
}  // namespace mb

class MessageBox {
public:
    virtual ~MessageBox() = default;
    // Shows the box and returns once the author has closed it.
    virtual void show(const std::string& prompt, const std::string& title, int style) = 0;
};

// The box every part of the add-in shows through: a real Qt box unless a test installed
// another. setMessageBox(nullptr) restores the real one.
MessageBox& messageBox();
void setMessageBox(MessageBox* box);

}  // namespace ostrel
