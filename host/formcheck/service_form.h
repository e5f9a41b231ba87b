// What the service reads from a sign-up submission: the one description, a data file beside
// the shipped template (resources/template/service_form.json), that the rehearsal compares
// the browser's request with.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "host/formcheck/form_finding.h"

namespace host::formcheck {

struct ServiceField {
    QString name;
    bool needsValue = false;   // sent empty, it is no sign-up
    bool listId = false;       // holds the list id: not a marker of another tool
    bool namesFields = false;  // a comma-separated list of the fields the service requires
    Severity whenMissing = Severity::error;
};

struct ServiceForm {
    QStringList methods;    // upper case
    QStringList encodings;  // the POST body types it reads
    QStringList schemes;
    QString host;           // lower case
    std::vector<ServiceField> fields;  // each to be sent exactly once
};

// Reads the description; nothing, with `failure` naming the file and the fault, when it
// cannot be read.
std::optional<ServiceForm> parseServiceForm(const QByteArray& json, QString* failure);
// $OSTREL_SERVICE_FORM when set, else service_form.json beside the program (the build
// tree), else in the add-in module's folder relative to the program (installed).
QString serviceFormPath();
std::optional<ServiceForm> loadServiceForm(QString* failure);

}  // namespace host::formcheck
