// The sign-up rehearsal's script.
#include "host/preview/form_rehearsal.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace host::preview {
namespace {

QString jsonString(const QString& text) {
    return QString::fromUtf8(QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact)) +
           QStringLiteral("[0]");
}

}  // namespace

QString rehearseFormScript(const QString& elementId, const QString& enterToken) {
    // Names are read through the DOM's own getters: a control named "children", "elements"
    // or "action" would stand in for the form's property of that name.
    // What the engine decides is read from the engine: a control's form owner (el.form), its
    // type as the browser takes it (el.type: a <button> without one submits), whether it is
    // disabled (:disabled, a disabled fieldset included), whether it is shown (its boxes and
    // computed style), whether it is valid, and what a press sends.
    return QStringLiteral(R"JS(
(() => {
  const id = %1, enterToken = %2;
  const say = console.log.bind(console);
  const get = (proto, name) => Object.getOwnPropertyDescriptor(proto, name).get;
  const parentOf = get(Node.prototype, 'parentElement');
  const childrenOf = get(Element.prototype, 'children');
  const nameOf = get(Element.prototype, 'localName');
  const formProp = name => get(HTMLFormElement.prototype, name);
  const root = document.documentElement;
  const pathOf = el => {
    const path = [];
    for (let e = el; e && e !== root; ) {
      const p = parentOf.call(e);
      if (!p) return null;
      path.unshift({index: Array.prototype.indexOf.call(childrenOf.call(p), e), tag: nameOf.call(e)});
      e = p;
    }
    return path;
  };
  const hiddenVisibility = v => v === 'hidden' || v === 'collapse';
  const shown = el => el.getClientRects().length > 0 && !hiddenVisibility(getComputedStyle(el).visibility);
  // The elements whose own style hides `el`: display none, or visibility hidden where
  // their parent is visible; told apart by the hidden attribute, the style attribute or a
  // style sheet.
  const hiders = el => {
    const out = [];
    for (let e = el; e && e !== root; e = parentOf.call(e)) {
      const cs = getComputedStyle(e);
      const p = parentOf.call(e);
      const byVisibility = hiddenVisibility(cs.visibility) &&
                           !(p && hiddenVisibility(getComputedStyle(p).visibility));
      if (cs.display !== 'none' && !byVisibility) continue;
      const inline = e.style && (e.style.display === 'none' || hiddenVisibility(e.style.visibility));
      const by = inline ? 'style' : cs.display === 'none' && e.hasAttribute('hidden') ? 'hidden' : 'stylesheet';
      out.push({path: pathOf(e), tag: nameOf.call(e), by, display: cs.display, visibility: cs.visibility});
    }
    return out.reverse();
  };
  // What a submission sent; the navigation the browser has scheduled for it is stopped
  // here (the view would refuse it anyway), so that it cannot cut short the next load.
  const take = () => {
    const t = window.__ostrelTakeSubmission && window.__ostrelTakeSubmission();
    if (t) window.stop();
    return t ? JSON.parse(t) : null;
  };
  const textTypes = ['text', 'email', 'search', 'tel', 'url'];
  const isText = el => (nameOf.call(el) === 'input' && textTypes.includes(el.type)) ||
                       nameOf.call(el) === 'textarea';
  const isSubmit = el => ['button', 'input'].includes(nameOf.call(el)) &&
                         (el.type === 'submit' || el.type === 'image');
  const found = document.all.namedItem(id);
  const region = found instanceof Element ? found : found && found[0];
  if (!region) return JSON.stringify({region: false});
  const form = nameOf.call(region) === 'form' ? region
             : region.querySelector('form') || region.closest('form');
  const describe = el => {
    const disabled = el.matches(':disabled');
    const fieldset = disabled && !el.hasAttribute('disabled') ? el.closest('fieldset[disabled]') : null;
    const isShown = shown(el);
    return {
      path: pathOf(el), tag: nameOf.call(el), name: el.getAttribute('name') || '', type: el.type,
      shown: isShown, disabled, disabledBy: fieldset ? pathOf(fieldset) : null,
      owned: !!form && el.form === form, owner: el.form ? pathOf(el.form) : null,
      formAttribute: el.hasAttribute('form'),
      hiders: isShown || el.type === 'hidden' ? [] : hiders(el),
      label: ((el.innerText || el.value || el.getAttribute('alt') || '') + '').trim().slice(0, 60),
    };
  };
  const answer = {region: true, regionPath: pathOf(region)};
  const inRegion = [...region.querySelectorAll('input, select, textarea, button')];
  if (!form) {
    answer.form = null;
    answer.controls = inRegion.map(describe);
    // A form in a frame of the region: its document is out of this script's reach (a
    // sandbox gives it an origin of its own), but the frame's sandbox, as the engine reads
    // it, tells whether forms may be sent from it at all.
    answer.frames = [...region.querySelectorAll('iframe')].map(f => ({
      path: pathOf(f), sandboxed: f.hasAttribute('sandbox'), allowsForms: f.sandbox.contains('allow-forms'),
    }));
    return JSON.stringify(answer);
  }
  const formShown = shown(form);
  answer.form = {
    path: pathOf(form), method: formProp('method').call(form), enctype: formProp('enctype').call(form),
    action: formProp('action').call(form), shown: formShown, hiders: formShown ? [] : hiders(form),
    inRegion: region.contains(form),
  };
  const controls = [];
  for (const el of [...formProp('elements').call(form), ...inRegion]) {
    if (!controls.includes(el) && ['input', 'select', 'textarea', 'button'].includes(nameOf.call(el)))
      controls.push(el);
  }
  controls.sort((a, b) => a.compareDocumentPosition(b) & Node.DOCUMENT_POSITION_FOLLOWING ? -1 : 1);
  answer.controls = controls.map(describe);
  take();  // anything kept before the rehearsal is not its own
  // A visitor fills in the text fields, and ticks or chooses what the form requires (a
  // consent box, say); what is left as it is stays as the page has it.
  answer.filled = [];
  const changed = el => {
    el.dispatchEvent(new Event('input', {bubbles: true}));
    el.dispatchEvent(new Event('change', {bubbles: true}));
  };
  for (const el of controls) {
    if (!shown(el) || el.matches(':disabled') || el.readOnly) continue;
    const tag = nameOf.call(el), name = el.getAttribute('name') || '';
    if (isText(el)) {
      const words = [name, el.id, el.getAttribute('autocomplete')].join(' ');
      const value = el.type === 'email' || /mail|from/i.test(words) ? 'visitor@example.com'
                  : el.type === 'tel' ? '5550100' : el.type === 'url' ? 'https://example.com/'
                  : /name/i.test(words) ? 'Sample Visitor' : 'Sample entry';
      el.value = value;
      changed(el);
      answer.filled.push({path: pathOf(el), name, value});
    } else if (!el.required) {
      continue;
    } else if (tag === 'input' && (el.type === 'checkbox' || el.type === 'radio') && !el.checked) {
      el.checked = true;
      changed(el);
      answer.filled.push({path: pathOf(el), name, value: el.value});
    } else if (tag === 'input' && el.type === 'number' && el.value === '') {
      el.value = el.min !== '' ? el.min : '1';
      changed(el);
      answer.filled.push({path: pathOf(el), name, value: el.value});
    } else if (tag === 'select' && el.value === '') {
      const option = [...el.options].find(o => o.value !== '' && !o.disabled);
      if (!option) continue;
      el.value = option.value;
      changed(el);
      answer.filled.push({path: pathOf(el), name, value: el.value});
    }
  }
  const press = controls.find(el => isSubmit(el) && shown(el) && el.form === form) ||
                controls.find(el => isSubmit(el) && shown(el));
  answer.pressed = null;
  answer.sent = null;
  if (press) {
    answer.pressed = describe(press);
    press.click();
    answer.sent = take();
    if (!answer.sent) {
      answer.invalid = controls.filter(el => el.willValidate && !el.validity.valid)
                               .map(el => Object.assign(describe(el), {message: el.validationMessage}));
    }
  }
  // Enter in the e-mail field, as a visitor would press it: the view sends the key, and
  // the field's keyup tells what the browser did with it.
  const email = controls.find(el => nameOf.call(el) === 'input' && el.type === 'email' && shown(el) && !el.matches(':disabled')) ||
                controls.find(el => isText(el) && /mail|^from$/i.test(el.getAttribute('name') || '') && shown(el) && !el.matches(':disabled'));
  answer.enterIn = null;
  if (email) {
    const hear = e => {
      if (!e.isTrusted || e.key !== 'Enter') return;
      email.removeEventListener('keyup', hear, true);
      say(enterToken + JSON.stringify({sent: take()}));
    };
    email.addEventListener('keyup', hear, true);
    email.focus();
    answer.enterIn = describe(email);
  }
  return JSON.stringify(answer);
})()
)JS")
        .arg(jsonString(elementId), jsonString(enterToken));
}

}  // namespace host::preview
