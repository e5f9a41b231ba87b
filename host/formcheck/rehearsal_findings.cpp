// The rehearsal's steps and findings, from what the engine did and sent.
#include "host/formcheck/rehearsal_findings.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QUrl>
#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <tuple>

#include "host/formcheck/form_page.h"
#include "host/formcheck/service_address.h"
#include "host/formcheck/site_file.h"
#include "host/formcheck/web_address.h"
#include "host/page/gumbo_tree.h"

namespace host::formcheck {
namespace {

// Markers other tools leave for a value to come, escaped or not.
const QRegularExpression kMarker(
    QStringLiteral(R"(\{\{.*\}\}|\[\[.*\]\]|\[\s*your\b.*\]|%[A-Za-z_][\w.-]*%|\$\{.*\}|<<.*>>|&lt;&lt;.*&gt;&gt;)"),
    QRegularExpression::CaseInsensitiveOption);

bool isSubmitControl(const QJsonObject& c) {
    const QString type = c[u"type"].toString();
    return (c[u"tag"] == QJsonValue(QStringLiteral("button")) ||
            c[u"tag"] == QJsonValue(QStringLiteral("input"))) &&
           (type == u"submit" || type == u"image");
}

QString controlName(const QJsonObject& c) {
    const QString label = c[u"label"].toString().simplified();
    return label.isEmpty() ? QStringLiteral("<%1>").arg(c[u"tag"].toString()) : quoted(label);
}

class Judge {
public:
    Judge(const QJsonObject& answer, const FormPage* page, const ServiceForm& service,
          Rehearsal& out)
        : m_a(answer), m_page(page), m_service(service), m_out(out) {
        for (const QJsonValue& c : m_a[u"controls"].toArray()) m_controls.push_back(c.toObject());
        m_formElement = element(m_a[u"form"][u"path"]);
    }

    void run() {
        if (!shown()) return;
        fill();
        const QJsonObject request = press();
        if (request.isEmpty()) {
            m_out.steps.push_back(
                {QCoreApplication::translate("host::formcheck::FormCheck",
                                             "no request to compare with what the service reads"),
                 false});
            return;
        }
        compare(request);
    }

    // The region shows a frame whose sandbox keeps forms from being sent.
    bool sandboxedFrame() {
        bool found = false;
        for (const QJsonValue& f : m_a[u"frames"].toArray()) {
            if (!f[u"sandboxed"].toBool() || f[u"allowsForms"].toBool()) continue;
            found = true;
            find(Severity::error, place(f[u"path"], "sandbox"),
                 QCoreApplication::translate(
                     "host::formcheck::FormCheck",
                     "the sign-up region shows a frame whose sandbox does not allow "
                     "forms: the browser blocks the submission of a form in it, and "
                     "visitors' sign-ups never leave"),
                 QCoreApplication::translate(
                     "host::formcheck::FormCheck",
                     "add allow-forms to the frame's sandbox attribute, or put the "
                     "form in the page itself"));
        }
        if (found)
            step(QCoreApplication::translate("host::formcheck::FormCheck",
                                             "the form's frame may not send forms"),
                 false);
        return found;
    }

private:
    // --- where things are in the page's source
    const GumboNode* element(const QJsonValue& path) const {
        if (!m_page || !path.isArray() || m_page->elements().empty()) return nullptr;
        const GumboNode* at = m_page->elements().front();  // the root element
        for (const QJsonValue& step : path.toArray()) {
            std::vector<const GumboNode*> kids;
            for (const GumboNode* child : page::childrenOf(at))
                if (page::isElement(child)) kids.push_back(child);
            const int index = step[u"index"].toInt(-1);
            if (index < 0 || index >= int(kids.size()) ||
                QString::fromStdString(page::lowerName(kids[std::size_t(index)])) !=
                    step[u"tag"].toString())
                return nullptr;
            at = kids[std::size_t(index)];
        }
        return at;
    }
    // The element's start tag, or its attribute (its value with `value`); the form's start
    // tag where the element cannot be found in the source.
    std::optional<std::size_t> place(const QJsonValue& path, const char* attribute = nullptr,
                                     bool value = false) const {
        const GumboNode* e = element(path);
        if (!e) e = m_formElement;
        if (!e) return std::nullopt;
        if (attribute) {
            if (const GumboAttribute* a = FormPage::attribute(e, attribute))
                return value ? m_page->offsetOfValue(e, a) : m_page->offsetOfAttribute(e, a);
        }
        return m_page->offsetOf(e);
    }
    // One finding per place: fields a disabled fieldset holds share its attribute.
    void find(Severity severity, std::optional<std::size_t> at, QString what, QString advice) {
        if (m_page && at) {
            Finding f = m_page->finding(severity, CheckKind::rehearsal, *at, std::move(what),
                                        std::move(advice));
            const bool told = std::any_of(m_out.findings.begin(), m_out.findings.end(),
                                          [&](const Finding& g) {
                                              return g.line == f.line && g.column == f.column;
                                          });
            if (!told) m_out.findings.push_back(std::move(f));
        } else {
            m_out.findings.push_back({severity, CheckKind::rehearsal, std::move(what), 0, 0,
                                      std::move(advice)});
        }
    }
    void step(QString what, bool passed) { m_out.steps.push_back({std::move(what), passed}); }

    // --- the steps
    // The elements that hide `what`, each at the attribute or the tag that does it.
    void hidden(const QJsonArray& hiders, const QString& what, const QString& consequence) {
        for (const QJsonValue& h : hiders) {
            const QString by = h[u"by"].toString();
            const QString tag = h[u"tag"].toString();
            const QString how = h[u"display"] == QJsonValue(QStringLiteral("none"))
                                    ? QStringLiteral("display: none")
                                    : QStringLiteral("visibility: %1").arg(h[u"visibility"].toString());
            if (by == u"hidden") {
                find(Severity::error, place(h[u"path"], "hidden"),
                     QCoreApplication::translate(
                         "host::formcheck::FormCheck",
                         "%1 is not shown: the hidden attribute of its <%2> hides it, %3")
                         .arg(what, tag, consequence),
                     QCoreApplication::translate("host::formcheck::FormCheck",
                                                 "remove the hidden attribute"));
            } else if (by == u"style") {
                find(Severity::error, place(h[u"path"], "style"),
                     QCoreApplication::translate(
                         "host::formcheck::FormCheck",
                         "%1 is not shown: the style attribute of its <%2> hides it (%3), %4")
                         .arg(what, tag, how, consequence),
                     QCoreApplication::translate("host::formcheck::FormCheck",
                                                 "remove %1 from that style attribute")
                         .arg(how));
            } else {
                find(Severity::error, place(h[u"path"]),
                     QCoreApplication::translate(
                         "host::formcheck::FormCheck",
                         "%1 is not shown: a style rule hides its <%2> (%3), %4")
                         .arg(what, tag, how, consequence),
                     QCoreApplication::translate(
                         "host::formcheck::FormCheck",
                         "change the style rule (or the class) that hides this element"));
            }
        }
    }

    bool shown() {
        const QJsonObject form = m_a[u"form"].toObject();
        // A form of no box of its own (display: contents) that nothing hides is shown.
        if (form[u"shown"].toBool() || form[u"hiders"].toArray().isEmpty()) {
            step(QCoreApplication::translate("host::formcheck::FormCheck", "the form is shown"),
                 true);
            return true;
        }
        hidden(form[u"hiders"].toArray(),
               QCoreApplication::translate("host::formcheck::FormCheck", "the sign-up form"),
               QCoreApplication::translate("host::formcheck::FormCheck",
                                           "so visitors cannot sign up"));
        step(QCoreApplication::translate("host::formcheck::FormCheck",
                                         "the form is not shown: visitors cannot sign up"),
             false);
        return false;
    }

    void fill() {
        QStringList names;
        for (const QJsonValue& f : m_a[u"filled"].toArray()) {
            const QString name = f[u"name"].toString();
            names << (name.isEmpty() ? QCoreApplication::translate("host::formcheck::FormCheck",
                                                                   "a field without a name")
                                     : quoted(name));
            m_filled << f[u"path"].toArray();
        }
        if (names.isEmpty()) {
            step(QCoreApplication::translate("host::formcheck::FormCheck",
                                             "found no field a visitor can fill in"),
                 false);
        } else {
            step(QCoreApplication::translate("host::formcheck::FormCheck",
                                             "filled %1 with sample entries")
                     .arg(names.join(QStringLiteral(", "))),
                 true);
        }
    }

    // Presses the submit control, then Enter in the e-mail field; gives the request to
    // compare with what the service reads.
    QJsonObject press() {
        const QJsonObject enter = m_a[u"enter"].toObject();
        const QJsonObject enterIn = m_a[u"enterIn"].toObject();
        const bool enterTried = !enterIn.isEmpty() && enter[u"delivered"].toBool();
        const QJsonObject enterSent = enter[u"sent"].toObject();
        QJsonObject request = m_a[u"sent"].toObject();
        const QJsonObject pressed = m_a[u"pressed"].toObject();
        if (pressed.isEmpty()) {
            noSubmitControl(enterTried, !enterSent.isEmpty());
        } else if (request.isEmpty()) {
            nothingSent(pressed);
        } else {
            step(QCoreApplication::translate("host::formcheck::FormCheck",
                                             "pressed %1: the form was sent")
                     .arg(controlName(pressed)),
                 true);
        }
        // Enter, as a visitor in the e-mail field presses it.
        if (enterIn.isEmpty()) {
            step(
                QCoreApplication::translate("host::formcheck::FormCheck",
                                            "Enter not tried: no e-mail field a visitor can reach"),
                false);
        } else if (!enterTried) {
            step(QCoreApplication::translate(
                     "host::formcheck::FormCheck",
                     "Enter could not be tried: the key did not reach the page"),
                 false);
        } else if (!enterIn[u"owned"].toBool()) {
            // The field's own finding (its form attribute, or outside the form) says why.
            step(QCoreApplication::translate(
                     "host::formcheck::FormCheck",
                     "Enter in the e-mail field does not send the sign-up form"),
                 false);
        } else if (enterSent.isEmpty()) {
            step(QCoreApplication::translate("host::formcheck::FormCheck",
                                             "Enter in the e-mail field sent nothing"),
                 false);
            if (!request.isEmpty()) {
                find(Severity::warning, place(enterIn[u"path"]),
                     QCoreApplication::translate(
                         "host::formcheck::FormCheck",
                         "Enter in the e-mail field sends nothing, though the button "
                         "does: visitors who press Enter are not signed up"),
                     QCoreApplication::translate(
                         "host::formcheck::FormCheck",
                         "keep the form's submit button inside the form, enabled"));
            }
        } else {
            step(
                QCoreApplication::translate("host::formcheck::FormCheck",
                                            "pressed Enter in the e-mail field: the form was sent"),
                true);
            if (request.isEmpty()) request = enterSent;  // judged where the button sent nothing
        }
        return request;
    }

    void noSubmitControl(bool enterTried, bool enterSent) {
        for (const QJsonObject& c : m_controls) {
            if (isSubmitControl(c) && !c[u"shown"].toBool()) {
                hidden(c[u"hiders"].toArray(),
                       QCoreApplication::translate("host::formcheck::FormCheck",
                                                   "the submit button %1")
                           .arg(controlName(c)),
                       QCoreApplication::translate("host::formcheck::FormCheck",
                                                   "so visitors have nothing to press"));
                step(QCoreApplication::translate("host::formcheck::FormCheck",
                                                 "the submit button is not shown"),
                     false);
                return;
            }
        }
        const QJsonObject* plain = nullptr;
        for (const QJsonObject& c : m_controls) {
            if (c[u"tag"] == QJsonValue(QStringLiteral("button")) && c[u"type"] != QJsonValue(QStringLiteral("submit"))) {
                plain = &c;
                break;
            }
        }
        const QString enterText =
            !enterTried ? QString()
            : enterSent
                ? QCoreApplication::translate(
                      "host::formcheck::FormCheck",
                      " (Enter in the e-mail field sends it, but not every visitor presses Enter)")
                : QCoreApplication::translate(
                      "host::formcheck::FormCheck",
                      ", and Enter in the e-mail field sends nothing either");
        find(Severity::error, place(m_a[u"form"][u"path"]),
             (plain ? QCoreApplication::translate(
                          "host::formcheck::FormCheck",
                          "the form has no submit button: its <button> %1 has "
                          "type=\"%2\", which submits nothing%3")
                          .arg(controlName(*plain), (*plain)[u"type"].toString(), enterText)
                    : QCoreApplication::translate(
                          "host::formcheck::FormCheck",
                          "the form has no submit button: visitors have nothing to press%1")
                          .arg(enterText)),
             plain ? QCoreApplication::translate("host::formcheck::FormCheck",
                                                 "give the button type=\"submit\" (or no type)")
                   : QCoreApplication::translate(
                         "host::formcheck::FormCheck",
                         "add <button type=\"submit\">Subscribe</button> inside the form"));
        step(QCoreApplication::translate("host::formcheck::FormCheck",
                                         "found no submit button to press"),
             false);
    }

    void nothingSent(const QJsonObject& pressed) {
        const QString name = controlName(pressed);
        step(QCoreApplication::translate("host::formcheck::FormCheck",
                                         "pressed %1: nothing was sent")
                 .arg(name),
             false);
        if (!pressed[u"owned"].toBool()) {
            find(Severity::error, place(pressed[u"path"]),
                 QCoreApplication::translate(
                     "host::formcheck::FormCheck",
                     "the submit button %1 is outside the sign-up form: pressing it "
                     "sends nothing")
                     .arg(name),
                 QCoreApplication::translate("host::formcheck::FormCheck",
                                             "put the button inside the <form>, after its fields"));
            return;
        }
        if (pressed[u"disabled"].toBool()) {
            find(Severity::error, place(pressed[u"path"], "disabled"),
                 QCoreApplication::translate(
                     "host::formcheck::FormCheck",
                     "the submit button %1 is disabled: pressing it does nothing")
                     .arg(name),
                 QCoreApplication::translate("host::formcheck::FormCheck",
                                             "remove the disabled attribute"));
            return;
        }
        const QJsonArray invalid = m_a[u"invalid"].toArray();
        if (!invalid.isEmpty()) {
            const QJsonObject c = invalid.first().toObject();
            find(Severity::error, place(c[u"path"]),
                 QCoreApplication::translate(
                     "host::formcheck::FormCheck",
                     "the browser refuses to send the form: the field %1 says \"%2\"%3")
                     .arg(quoted(c[u"name"].toString()), c[u"message"].toString(),
                          c[u"shown"].toBool()
                              ? QString()
                              : QCoreApplication::translate("host::formcheck::FormCheck",
                                                            ", and visitors cannot see it")),
                 QCoreApplication::translate(
                     "host::formcheck::FormCheck",
                     "make the field one a visitor can fill in, or remove the rule "
                     "(required, pattern, type) it fails"));
            return;
        }
        // A page may send the sign-up with a script of its own (which the view keeps in):
        // not certainly a fault.
        find(Severity::warning, place(pressed[u"path"]),
             QCoreApplication::translate(
                 "host::formcheck::FormCheck",
                 "pressing %1 sends no form: a script of the page stops the "
                 "submission, and the sign-up works only if that script sends it")
                 .arg(name),
             QCoreApplication::translate(
                 "host::formcheck::FormCheck",
                 "make sure the page's script that handles the form's submit event "
                 "sends the sign-up to the service, or let the form send it"));
    }

    // --- the request against what the service reads
    void compare(const QJsonObject& request) {
        const std::size_t before = m_out.findings.size();
        const QJsonValue formPath = m_a[u"form"][u"path"];
        const QString method = request[u"method"].toString().toUpper();
        if (!m_service.methods.contains(method)) {
            find(
                Severity::error, place(formPath, "method", true),
                QCoreApplication::translate(
                    "host::formcheck::FormCheck",
                    "the form is sent with %1, but the service reads %2 only: the "
                    "sign-ups never arrive")
                    .arg(method, m_service.methods.join(QStringLiteral(", "))),
                QCoreApplication::translate("host::formcheck::FormCheck", "write method=\"post\""));
        } else if (method == u"POST" &&
                   !m_service.encodings.contains(request[u"enctype"].toString().toLower())) {
            find(Severity::error, place(formPath, "enctype", true),
                 QCoreApplication::translate(
                     "host::formcheck::FormCheck",
                     "the browser sends the form as %1, which the service cannot read: "
                     "the sign-ups never arrive")
                     .arg(request[u"enctype"].toString()),
                 QCoreApplication::translate(
                     "host::formcheck::FormCheck",
                     "remove the enctype attribute (the browser then sends %1)")
                     .arg(m_service.encodings.value(0)));
        }
        const std::optional<WebAddress> action = actionAddress(request);
        if (action) {
            m_action = *action;
            // A host of the author's own (a relay) is theirs to vouch for; a typo of the
            // service's host is not.
            const bool wrongHost = action->host != m_service.host &&
                                   compareWithServiceHost(action->host) == HostMatch::nearMiss;
            if (!m_service.schemes.contains(action->scheme) || wrongHost) {
                find(Severity::error, place(formPath, "action", true),
                     QCoreApplication::translate("host::formcheck::FormCheck",
                                                 "the form is sent to %1, not to the service at %2")
                         .arg(quoted(action->toString()), m_service.host),
                     QCoreApplication::translate(
                         "host::formcheck::FormCheck",
                         "write the service's address, https://%1/..., as the wizard "
                         "does")
                         .arg(m_service.host));
            }
        }
        fields(request);
        const std::size_t problems = m_out.findings.size() - before;
        step(problems == 0
                 ? QCoreApplication::translate("host::formcheck::FormCheck",
                                               "the request has what the service reads")
                 : QCoreApplication::translate("host::formcheck::FormCheck",
                                               "the request differs from what the service reads "
                                               "(%1)")
                       .arg(problems == 1 ? QCoreApplication::translate(
                                                "host::formcheck::FormCheck", "1 fault")
                                          : QCoreApplication::translate(
                                                "host::formcheck::FormCheck", "%1 faults")
                                                .arg(problems)),
             problems == 0);
        if (action) thankYou();
    }

    // The action as the published page's browser would read it: the engine resolved it
    // against the view's own address, which the published page does not have.
    std::optional<WebAddress> actionAddress(const QJsonObject& request) {
        const auto engine = parseAbsoluteAddress(request[u"action"].toString());
        if (engine && engine->isHttp()) return engine;
        const QString written = trimmedAddressText(request[u"actionWritten"].toString());
        if (m_page && m_page->publishing().pageAddress)
            return resolveAddress(*m_page->publishing().pageAddress, written);
        if (written.startsWith(QStringLiteral("//"))) return parseAbsoluteAddress(QStringLiteral("https:") + written);
        return std::nullopt;  // relative, with no published address: the transport check names it
    }

    struct Wanted {
        bool needsValue = false;
        bool listId = false;
        Severity whenMissing = Severity::error;
        bool named = false;  // the required list names it
    };

    void fields(const QJsonObject& request) {
        std::map<QString, QStringList> sent;
        for (const QJsonValue& pair : request[u"fields"].toArray())
            sent[pair[0].toString()] << pair[1].toString();
        m_sent = sent;
        std::vector<std::pair<QString, Wanted>> wanted;
        for (const ServiceField& f : m_service.fields)
            wanted.push_back({f.name, {f.needsValue, f.listId, f.whenMissing, false}});
        // The fields the required list names need a value too.
        for (const ServiceField& f : m_service.fields) {
            if (!f.namesFields || sent[f.name].isEmpty()) continue;
            for (const QString& name : sent[f.name].first().split(u',')) {
                const QString n = name.trimmed();
                if (n.isEmpty()) continue;
                const auto it = std::find_if(wanted.begin(), wanted.end(),
                                             [&](const auto& w) { return w.first == n; });
                if (it != wanted.end()) {
                    it->second.needsValue = true;
                    it->second.whenMissing = Severity::error;
                    it->second.named = true;
                } else {
                    wanted.push_back({n, {true, false, Severity::error, true}});
                }
            }
        }
        for (const auto& [name, w] : wanted) {
            const QStringList& values = sent[name];
            if (values.isEmpty()) {
                missing(name, w.whenMissing, w.named);
            } else if (values.size() > 1) {
                const QJsonObject* second = nullptr;
                int seen = 0;
                for (const QJsonObject& c : m_controls)
                    if (c[u"name"].toString() == name && c[u"owned"].toBool() && ++seen == 2) second = &c;
                find(Severity::error, place(second ? (*second)[u"path"] : m_a[u"form"][u"path"]),
                     QCoreApplication::translate(
                         "host::formcheck::FormCheck",
                         "the field %1 is sent %2 times: the service reads one")
                         .arg(quoted(name))
                         .arg(values.size()),
                     QCoreApplication::translate("host::formcheck::FormCheck",
                                                 "remove the extra field named %1")
                         .arg(quoted(name)));
            } else if (w.needsValue && values.first().trimmed().isEmpty()) {
                empty(name);
            } else if (w.listId && kMarker.match(values.first()).hasMatch()) {
                const QJsonObject* c = control(name, true);
                find(Severity::error,
                     place(c ? (*c)[u"path"] : m_a[u"form"][u"path"], "value", true),
                     QCoreApplication::translate(
                         "host::formcheck::FormCheck",
                         "the list id %1 is another tool's marker, not a list id: the "
                         "service knows no such list")
                         .arg(quoted(values.first())),
                     QCoreApplication::translate(
                         "host::formcheck::FormCheck",
                         "run Insert > Ostrel... again with your list's user id"));
            }
        }
    }

    const QJsonObject* control(const QString& name, bool owned) const {
        for (const QJsonObject& c : m_controls)
            if (c[u"name"].toString() == name && (!owned || c[u"owned"].toBool())) return &c;
        return nullptr;
    }

    // Why a field the service reads was not sent: the engine's view of the field says it.
    void missing(const QString& name, Severity severity, bool named) {
        const QJsonObject* c = control(name, false);
        const QString what = quoted(name);
        if (!c) {
            find(severity, named ? requiredName(name) : place(m_a[u"form"][u"path"]),
                 QCoreApplication::translate("host::formcheck::FormCheck",
                                             "the form sends no field %1, which the service reads")
                     .arg(what),
                 QCoreApplication::translate(
                     "host::formcheck::FormCheck",
                     "put the field back as the wizard writes it (Insert > Ostrel...)"));
        } else if ((*c)[u"disabled"].toBool()) {
            if ((*c)[u"disabledBy"].isArray()) {
                find(severity, place((*c)[u"disabledBy"], "disabled"),
                     QCoreApplication::translate(
                         "host::formcheck::FormCheck",
                         "the fieldset around the field %1 is disabled: browsers send "
                         "nothing for the fields in a disabled fieldset, so the "
                         "service never gets them")
                         .arg(what),
                     QCoreApplication::translate("host::formcheck::FormCheck",
                                                 "remove the fieldset's disabled attribute"));
            } else {
                find(severity, place((*c)[u"path"]),
                     QCoreApplication::translate(
                         "host::formcheck::FormCheck",
                         "the field %1 is disabled: browsers send nothing for a "
                         "disabled field, so the service never gets it")
                         .arg(what),
                     QCoreApplication::translate("host::formcheck::FormCheck",
                                                 "remove the disabled attribute"));
            }
        } else if (!(*c)[u"owned"].toBool() && (*c)[u"formAttribute"].toBool()) {
            find(severity, place((*c)[u"path"], "form"),
                 QCoreApplication::translate(
                     "host::formcheck::FormCheck",
                     "the field %1 belongs to another form (its form attribute): it is "
                     "sent with that form, not with the sign-up")
                     .arg(what),
                 QCoreApplication::translate("host::formcheck::FormCheck",
                                             "remove the field's form attribute"));
        } else if (!(*c)[u"owned"].toBool()) {
            find(severity, place((*c)[u"path"]),
                 QCoreApplication::translate(
                     "host::formcheck::FormCheck",
                     "the field %1 is outside the sign-up form: browsers do not send it "
                     "with the form")
                     .arg(what),
                 QCoreApplication::translate("host::formcheck::FormCheck",
                                             "move the field inside the <form>"));
        } else {
            find(severity, place((*c)[u"path"]),
                 QCoreApplication::translate(
                     "host::formcheck::FormCheck",
                     "the field %1 is not sent (a <%2> of type %3 that is not chosen)")
                     .arg(what, (*c)[u"tag"].toString(), (*c)[u"type"].toString()),
                 QCoreApplication::translate(
                     "host::formcheck::FormCheck",
                     "make it a field the visitor fills in, as the wizard writes it"));
        }
    }

    // Where the required list names `name`: its value, at the name.
    std::optional<std::size_t> requiredName(const QString& name) const {
        const QJsonObject* required = nullptr;
        for (const ServiceField& f : m_service.fields)
            if (f.namesFields && !required) required = control(f.name, true);
        if (!required) return place(m_a[u"form"][u"path"]);
        const auto at = place((*required)[u"path"], "value", true);
        const qsizetype in = (*required)[u"label"].toString().toUtf8().indexOf(name.toUtf8());
        return at && in >= 0 ? std::optional<std::size_t>(*at + std::size_t(in)) : at;
    }

    void empty(const QString& name) {
        const QJsonObject* c = control(name, true);
        const QString what = quoted(name);
        if (!c) return;
        const QJsonValue path = (*c)[u"path"];
        if ((*c)[u"type"] == QJsonValue(QStringLiteral("hidden"))) {
            find(Severity::error, place(path, "value", true),
                 QCoreApplication::translate(
                     "host::formcheck::FormCheck",
                     "the field %1 is sent empty, and the service needs a value")
                     .arg(what),
                 QCoreApplication::translate(
                     "host::formcheck::FormCheck",
                     "run Insert > Ostrel... again and fill in every entry"));
        } else if (!(*c)[u"shown"].toBool()) {
            hidden(
                (*c)[u"hiders"].toArray(),
                QCoreApplication::translate("host::formcheck::FormCheck", "the field %1").arg(what),
                QCoreApplication::translate("host::formcheck::FormCheck",
                                            "so visitors cannot fill it in and it is sent empty"));
        } else if (!m_filled.contains((*c)[u"path"].toArray())) {
            find(Severity::error, place(path),
                 QCoreApplication::translate(
                     "host::formcheck::FormCheck",
                     "visitors cannot fill in the field %1 (it is read-only), and the "
                     "service needs a value")
                     .arg(what),
                 QCoreApplication::translate("host::formcheck::FormCheck",
                                             "remove the readonly attribute"));
        } else {
            find(Severity::error, place(path),
                 QCoreApplication::translate(
                     "host::formcheck::FormCheck",
                     "the field %1 is sent empty although the visitor filled it in")
                     .arg(what),
                 QCoreApplication::translate("host::formcheck::FormCheck",
                                             "look at the page's scripts that change the form"));
        }
    }

    // The service answers with a redirect to the thank-you address, read against its own
    // address; where that lies in the site, the engine loads the file next.
    void thankYou() {
        const QString written = m_sent[QStringLiteral("redirect")].value(0).trimmed();
        if (written.isEmpty()) {
            step(QCoreApplication::translate("host::formcheck::FormCheck",
                                             "no thank-you address to go to"),
                 false);
            return;
        }
        const QJsonObject* c = control(QStringLiteral("redirect"), true);
        const auto at = place(c ? (*c)[u"path"] : m_a[u"form"][u"path"], "value", true);
        const auto target = resolveAddress(m_action, written);
        if (!target || !target->isAbsoluteHttp()) {
            step(QCoreApplication::translate("host::formcheck::FormCheck",
                                             "the thank-you address %1 is no web page")
                     .arg(quoted(written)),
                 false);
            return;
        }
        const PageContext& context = m_page ? m_page->context() : PageContext{};
        const std::optional<WebAddress> site =
            m_page ? m_page->publishing().siteAddress : std::nullopt;
        const QString file = site ? publishedSiteFile(siteRoot(context), *site, *target) : QString();
        if (file.isEmpty()) {
            if (target->host == m_action.host && target->host == m_service.host) {
                step(QCoreApplication::translate(
                         "host::formcheck::FormCheck",
                         "the service sends visitors to %1, on its own server")
                         .arg(quoted(target->toString())),
                     false);
            } else if (!site) {
                step(QCoreApplication::translate(
                         "host::formcheck::FormCheck",
                         "thank-you page %1 not loaded: the site's published address is "
                         "not known")
                         .arg(quoted(target->toString())),
                     true);
            } else {
                step(QCoreApplication::translate(
                         "host::formcheck::FormCheck",
                         "thank-you page %1 not loaded: it lies outside the site")
                         .arg(quoted(target->toString())),
                     true);
            }
            return;
        }
        if (!QFileInfo(file).isFile()) {
            find(Severity::warning, at,
                 QCoreApplication::translate(
                     "host::formcheck::FormCheck",
                     "the service sends visitors who sign up to %1, but the site has no "
                     "file %2: they land on a missing page")
                     .arg(quoted(target->toString()), quoted(QFileInfo(file).fileName())),
                 QCoreApplication::translate("host::formcheck::FormCheck",
                                             "make that page, or correct the thank-you address"));
            step(QCoreApplication::translate("host::formcheck::FormCheck",
                                             "the thank-you page %1 does not exist")
                     .arg(quoted(target->toString())),
                 false);
            return;
        }
        m_out.thankYouFile = file;
        if (m_page && at) {
            const Finding f = m_page->finding(Severity::note, CheckKind::rehearsal, *at, {}, {});
            m_out.thankYouLine = f.line;
            m_out.thankYouColumn = f.column;
        }
    }

    const QJsonObject& m_a;
    const FormPage* m_page;
    const ServiceForm& m_service;
    Rehearsal& m_out;
    std::vector<QJsonObject> m_controls;
    const GumboNode* m_formElement = nullptr;
    QList<QJsonArray> m_filled;
    std::map<QString, QStringList> m_sent;
    WebAddress m_action;
};

}  // namespace

Rehearsal judgeRehearsal(const QByteArray& engineJson, const QByteArray& utf8Page,
                         const PageContext& context, const ServiceForm& service) {
    const QJsonObject answer = QJsonDocument::fromJson(engineJson).object();
    if (answer.isEmpty())
        return rehearsalNotRun(QCoreApplication::translate(
            "host::formcheck::FormCheck", "the engine's answer could not be read"));
    Rehearsal out;
    out.ran = true;
    if (!answer[u"region"].toBool()) {
        out.steps.push_back({QCoreApplication::translate(
                                 "host::formcheck::FormCheck",
                                 "the rendered page has no sign-up region: nothing to rehearse"),
                             true});
        return out;
    }
    std::unique_ptr<FormPage> page;
    try {
        page = std::make_unique<FormPage>(utf8Page.toStdString(), context);
    } catch (const std::exception&) {
        // A page the parser gives up on: the findings keep no place.
    }
    Judge judge(answer, page.get(), service, out);
    if (!answer[u"form"].isObject()) {
        if (!judge.sandboxedFrame()) {
            out.steps.push_back({QCoreApplication::translate(
                                     "host::formcheck::FormCheck",
                                     "the sign-up region holds no form: nothing to rehearse"),
                                 true});
        }
        return out;
    }
    judge.run();
    return out;
}

void addThankYouLoad(Rehearsal& rehearsal, bool loaded) {
    const QString name = QFileInfo(rehearsal.thankYouFile).fileName();
    rehearsal.steps.push_back(
        {loaded ? QCoreApplication::translate("host::formcheck::FormCheck",
                                              "loaded the thank-you page %1")
                      .arg(quoted(name))
                : QCoreApplication::translate("host::formcheck::FormCheck",
                                              "the thank-you page %1 did not load")
                      .arg(quoted(name)),
         loaded});
    if (!loaded) {
        rehearsal.findings.push_back(
            {Severity::warning, CheckKind::rehearsal,
             QCoreApplication::translate(
                 "host::formcheck::FormCheck",
                 "the thank-you page %1 does not load: visitors who sign up land on "
                 "an error")
                 .arg(quoted(name)),
             rehearsal.thankYouLine, rehearsal.thankYouColumn,
             QCoreApplication::translate("host::formcheck::FormCheck",
                                         "make sure the file can be read")});
    }
}

Rehearsal rehearsalNotRun(const QString& why) {
    Rehearsal out;
    out.steps.push_back(
        {QCoreApplication::translate("host::formcheck::FormCheck", "the rehearsal did not run: %1")
             .arg(why),
         false});
    return out;
}

void mergeRehearsalFindings(std::vector<Finding>& checks, const Rehearsal& rehearsal) {
    const std::size_t given = checks.size();
    for (const Finding& f : rehearsal.findings) {
        const bool told = std::any_of(checks.begin(), checks.begin() + std::ptrdiff_t(given),
                                      [&](const Finding& g) {
                                          return g.line == f.line && g.column == f.column &&
                                                 g.line > 0 && g.severity <= f.severity;
                                      });
        if (!told) checks.push_back(f);
    }
    std::stable_sort(checks.begin(), checks.end(), [](const Finding& a, const Finding& b) {
        return std::tuple(a.line == 0, a.line, a.column) < std::tuple(b.line == 0, b.line, b.column);
    });
}

QString rehearsalSummary(const Rehearsal& rehearsal) {
    QStringList lines;
    QStringList passed;
    for (const RehearsalStep& s : rehearsal.steps) {
        if (s.passed) {
            passed << s.what;
            continue;
        }
        if (!passed.isEmpty()) lines << QStringLiteral("\u2713 ") + passed.join(QStringLiteral("; "));
        passed.clear();
        lines << QStringLiteral("\u2717 ") + s.what;
    }
    if (!passed.isEmpty()) lines << QStringLiteral("\u2713 ") + passed.join(QStringLiteral("; "));
    return lines.join(u'\n');
}

}  // namespace host::formcheck
