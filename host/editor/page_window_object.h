// The page window object that add-ins reach a page through.
#pragma once

#include <QPointer>

#include "com/host_application.h"
#include "com/object.h"

namespace host {

class Page;

// ViewMode: this editor has one view, the page source, numbered 1. In it the HTML document
// always reads the text as it stands in the editor, typing included, and changes made
// through the document are edits of that text (each one undo step). Setting 1 succeeds and
// keeps that view; any other number fails, naming the modes there are.
class PageWindowObject final : public com::Object<com::IPageWindow> {
public:
    static constexpr std::int32_t kSourceView = 1;

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
