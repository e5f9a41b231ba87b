// Test doubles for the editor's modal services and its HTML documents, and a harness
// that runs one editor session over a temporary folder.
#pragma once

#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <deque>
#include <filesystem>
#include <memory>
#include <vector>

#include "com/html_document.h"
#include "com/object.h"
#include "host/editor/editor_session.h"
#include "host/editor/file_dialog_service.h"
#include "host/messagebox/message_box_service.h"

// Records every box and answers from a queue; with the queue empty it answers Cancel
// where offered, else the default.
struct ScriptedMessages : host::MessageBoxService {
    host::MessageButton show(QWidget*, const host::MessageRequest& request) override {
        shown.push_back(request);
        if (!answers.empty()) {
            const auto a = answers.front();
            answers.pop_front();
            return a;
        }
        for (auto b : request.buttons) {
            if (b == host::MessageButton::Cancel) return b;
        }
        return request.defaultButton;
    }
    std::deque<host::MessageButton> answers;
    std::vector<host::MessageRequest> shown;
};

struct ScriptedFileDialogs : host::FileDialogService {
    QStringList askFilesToOpen(QWidget*) override { return next(toOpen, QStringList{}); }
    QString askSaveLocation(QWidget*, const QString& suggestion) override {
        suggestions.push_back(suggestion);
        return next(saveLocations, QString{});
    }
    template <class T>
    static T next(std::deque<T>& queue, T none) {
        if (queue.empty()) return none;
        T v = queue.front();
        queue.pop_front();
        return v;
    }
    std::deque<QStringList> toOpen;
    std::deque<QString> saveLocations;
    std::vector<QString> suggestions;
};

// Stands in for the page's HTML document: it only keeps the text it was made over.
struct FakeHtmlDocument : com::Object<com::IHTMLDocument2> {
    explicit FakeHtmlDocument(std::shared_ptr<host::PageText> t) : text(std::move(t)) {}
    com::HRESULT get_all(com::IHTMLElementCollection**) override { return com::E_NOTIMPL; }
    std::shared_ptr<host::PageText> text;
};

struct EditorHarness {
    // With a folder, the session records its calls into add-ins there (see LoadRecords).
    explicit EditorHarness(std::filesystem::path records = {})
        : recordFolder(std::move(records)) {
        start();
    }
    ~EditorHarness() { stop(); }

    void start() {
        host::EditorServices services;
        services.messages = &messages;
        services.fileDialogs = &files;
        services.documents = [this](std::shared_ptr<host::PageText> text) {
            ++documentsMade;
            return com::ComPtr<com::IHTMLDocument2>(com::make<FakeHtmlDocument>(std::move(text)));
        };
        services.settingsPath = dir.filePath("pagehost.ini");
        services.memoryForPage = memoryForPage;
        services.openUrl = [this](const QUrl& url) {
            opened.push_back(url);
            return true;
        };
        session = std::make_unique<host::EditorSession>(std::move(services), recordFolder);
    }
    void stop() {
        if (!session) return;
        session->shutdown();
        session.reset();
    }
    host::EditorWindow& window() const { return session->window(); }

    QString writeFile(const QString& name, const QByteArray& bytes) const {
        const QString path = dir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path;
    }
    static QByteArray readFile(const QString& path) {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }

    std::filesystem::path recordFolder;
    QTemporaryDir dir;
    ScriptedMessages messages;
    ScriptedFileDialogs files;
    int documentsMade = 0;
    std::int64_t memoryForPage = 0;
    std::vector<QUrl> opened;  // what the editor asked the desktop's browser to open
    std::unique_ptr<host::EditorSession> session;
};
