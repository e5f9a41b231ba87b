// Reading what the service reads.
#include "host/formcheck/service_form.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace host::formcheck {
namespace {

QStringList strings(const QJsonValue& value, bool upper) {
    QStringList out;
    for (const QJsonValue& v : value.toArray())
        out << (upper ? v.toString().toUpper() : v.toString().toLower());
    return out;
}

QString programFolder() {
    // The command line checks pages before any application object exists.
    if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(u'/', 0, -2);
}

}  // namespace

std::optional<ServiceForm> parseServiceForm(const QByteArray& json, QString* failure) {
    QJsonParseError error;
    const QJsonObject o = QJsonDocument::fromJson(json, &error).object();
    ServiceForm form;
    form.methods = strings(o[u"methods"], true);
    form.encodings = strings(o[u"encodings"], false);
    form.schemes = strings(o[u"schemes"], false);
    form.host = o[u"host"].toString().toLower();
    for (const QJsonValue& f : o[u"fields"].toArray()) {
        ServiceField field;
        field.name = f[u"name"].toString();
        field.needsValue = f[u"needsValue"].toBool();
        field.listId = f[u"listId"].toBool();
        field.namesFields = f[u"namesFields"].toBool();
        const QString missing = f[u"whenMissing"].toString();
        field.whenMissing = missing == u"note"      ? Severity::note
                            : missing == u"warning" ? Severity::warning
                                                    : Severity::error;
        if (!field.name.isEmpty()) form.fields.push_back(field);
    }
    if (error.error != QJsonParseError::NoError || form.methods.isEmpty() ||
        form.schemes.isEmpty() || form.host.isEmpty() || form.fields.empty()) {
        if (failure) {
            *failure =
                error.error != QJsonParseError::NoError
                    ? QCoreApplication::translate("host::formcheck::FormCheck",
                                                  "it is not JSON (%1 at byte %2)")
                          .arg(error.errorString())
                          .arg(error.offset)
                    : QCoreApplication::translate("host::formcheck::FormCheck",
                                                  "it lacks methods, schemes, host or fields");
        }
        return std::nullopt;
    }
    return form;
}

QString serviceFormPath() {
    const QString set = qEnvironmentVariable("OSTREL_SERVICE_FORM");
    if (!set.isEmpty()) return set;
    const QDir folder(programFolder());
    const QString beside = folder.filePath(QStringLiteral("service_form.json"));
    if (QFileInfo::exists(beside)) return beside;
    return QDir::cleanPath(
        folder.filePath(QStringLiteral(OSTREL_MODULE_FROM_BINDIR "/service_form.json")));
}

std::optional<ServiceForm> loadServiceForm(QString* failure) {
    const QString path = serviceFormPath();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (failure)
            *failure =
                QCoreApplication::translate("host::formcheck::FormCheck", "%1 cannot be read: %2")
                    .arg(path, file.errorString());
        return std::nullopt;
    }
    QString why;
    auto form = parseServiceForm(file.readAll(), &why);
    if (!form && failure)
        *failure =
            QCoreApplication::translate("host::formcheck::FormCheck", "%1 cannot be used: %2")
                .arg(path, why);
    return form;
}

}  // namespace host::formcheck
