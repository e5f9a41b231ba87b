// Reading the wizard's string table, a JSON resource, once per process.
#include "wizard/form/string_table.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <map>
#include <string>

#include "com/error.h"
#include "wizard/form/wizard_resources.h"

namespace ostrel {
namespace {

constexpr char kTablePath[] = ":/wizard/string_table.json";
constexpr char kSource[] = "OstrelPlugin";
// The catalogue context of the table's texts (translations/CMakeLists.txt names them so).
constexpr char kContext[] = "StringTable";

[[noreturn]] void unreadable(const std::string& why) {
    throw com::Error(kResourceNotFound, "The wizard's string table cannot be read: " + why,
                     kSource);
}

std::map<int, QString> readTable() {
    ensureWizardResources();
    QFile file(kTablePath);
    if (!file.open(QIODevice::ReadOnly)) unreadable(file.errorString().toStdString());
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (document.isNull()) unreadable(error.errorString().toStdString());
    const QJsonObject strings = document.object().value("strings").toObject();
    std::map<int, QString> table;
    for (auto entry = strings.begin(); entry != strings.end(); ++entry) {
        bool isNumber = false;
        const int number = entry.key().toInt(&isNumber);
        if (!isNumber || !entry.value().isString()) {
            unreadable("entry \"" + entry.key().toStdString() + "\" is not a numbered text");
        }
        table.emplace(number, entry.value().toString());
    }
    return table;
}

}  // namespace

QString stringTableText(int number) {
    static const std::map<int, QString> table = readTable();
    const auto found = table.find(number);
    if (found == table.end()) {
        throw com::Error(kResourceNotFound,
                         "Resource with identifier '" + std::to_string(number) +
                             "' not found in the wizard's string table",
                         kSource);
    }
    // Through the wizard's catalogue when one is in force; the number tells apart texts that
    // might read alike.
    return QCoreApplication::translate(kContext, qUtf8Printable(found->second),
                                       std::to_string(number).c_str());
}

}  // namespace ostrel
