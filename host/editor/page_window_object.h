// The page window object that add-ins reach a page through.
#pragma once

#include <QPointer>

#include "com/host_application.h"
#include "com/object.h"

namespace host {

class Page;

// ViewMode: which of the source and the rendered page show (page_view_control.h; 1, both,
// is what the add-in asks for). In every mode the HTML document reads the text as it stands
// in the editor, typing included, and changes made through the document are edits of that
// text (each one undo step). Setting a mode that does not exist fails, naming those there are.
class PageWindowObject final : public com::Object<com::IPageWindow> {
public:
    explicit PageWindowObject(Page* page) : m_page(page) {}

    com::HRESULT get_ViewMode(std::int32_t* out) override;
    com::HRESULT put_ViewMode(std::int32_t mode) override;
    com::HRESULT get_Document(com::IHTMLDocument2** out) override;

    void detach() { m_page = nullptr; }

private:
    Page& page() const;

    QPointer<Page> m_page;
};

}  // namespace host
