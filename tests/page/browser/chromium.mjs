// Starts the system's Chromium headless through playwright-core and gives the in-page
// helpers that both the differential test and the benchmark use.
import { chromium } from 'playwright-core';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

const executablePath = process.env.OSTREL_CHROMIUM || '/usr/bin/chromium';

// One browser and one page for a whole run. Scripts are off: pages are compared as parsed,
// and a script in a corpus page must not rewrite its own document.
export async function openBrowser() {
  if (!fs.existsSync(executablePath)) {
    throw new Error(`Chromium not found at ${executablePath} (Debian package "chromium")`);
  }
  const userDataDir = fs.mkdtempSync(path.join(os.tmpdir(), 'ostrel-chromium-'));
  const context = await chromium.launchPersistentContext(userDataDir, {
    executablePath,
    headless: true,
    javaScriptEnabled: false,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  const page = context.pages()[0] || await context.newPage();
  await page.setContent('<!DOCTYPE html><title>checks</title>');
  await page.evaluate(installHelpers);
  return {
    page,
    async close() {
      await context.close();
      fs.rmSync(userDataDir, { recursive: true, force: true });
    },
  };
}

// Page bytes as a browser decodes a UTF-8 document: a byte-order mark is dropped and
// invalid bytes become U+FFFD.
export function decodePage(buffer) {
  return new TextDecoder('utf-8').decode(buffer);
}

// Runs inside the browser page: defines the add-in's operation and a tree dump.
function installHelpers() {
  // The add-in's insertion, on a document a DOMParser made.
  window.addinOperation = (doc, snippet) => {
    const found = doc.all.item('OstrelInsert');
    if (found === null) {
      const body = doc.getElementsByTagName('body')[0];
      if (!body) return 'no-body';
      body.insertAdjacentHTML('BeforeEnd', "<div id='OstrelInsert'>\r\n" + snippet + '</div>\r\n');
      return 'inserted';
    }
    if (!(found instanceof Element)) return 'several';
    found.innerHTML = snippet;
    return 'replaced';
  };
  // Every node with its kind, name, namespace, attributes in order and text; adjacent text
  // nodes are taken together, as a serialization writes them.
  window.dumpTree = (doc) => {
    const out = ['mode ' + doc.compatMode];
    const walk = (node, depth) => {
      const pad = ' '.repeat(depth);
      let text = null;
      const flush = () => {
        if (text !== null) out.push(pad + '#text ' + JSON.stringify(text));
        text = null;
      };
      for (let n = node.firstChild; n; n = n.nextSibling) {
        if (n.nodeType === Node.TEXT_NODE) {
          text = (text ?? '') + n.data;
          continue;
        }
        flush();
        switch (n.nodeType) {
          case Node.ELEMENT_NODE: {
            const attrs = Array.from(n.attributes)
              .map((a) => `${a.namespaceURI || ''}|${a.name}=${JSON.stringify(a.value)}`).join(' ');
            out.push(`${pad}<${n.namespaceURI}|${n.localName}> ${attrs}`);
            walk(n.localName === 'template' && n.content ? n.content : n, depth + 1);
            break;
          }
          case Node.COMMENT_NODE: out.push(pad + '#comment ' + JSON.stringify(n.data)); break;
          case Node.DOCUMENT_TYPE_NODE:
            out.push(`${pad}#doctype ${n.name}|${n.publicId}|${n.systemId}`); break;
          default: out.push(pad + '#node ' + n.nodeType + ' ' + JSON.stringify(n.nodeValue)); break;
        }
      }
      flush();
    };
    walk(doc, 0);
    return out.join('\n');
  };
  window.parsePage = (text) => new DOMParser().parseFromString(text, 'text/html');
  // The page document writes a division appended to the body on a line of its own, so the
  // line breaks around it fall where its text is: white-space text next to it, and white
  // space at the very end of the content before it (which the white space after </body>
  // joins), are left out of the comparison. Nothing else is.
  window.looseAroundDivision = (doc) => {
    const body = doc.body;
    const division = body && Array.from(body.children).findLast((e) => e.id === 'OstrelInsert');
    if (!division) return;
    body.normalize();
    const blank = (n) => n && n.nodeType === Node.TEXT_NODE && /^[ \t\n\f\r]*$/.test(n.data);
    if (blank(division.nextSibling)) division.nextSibling.remove();
    if (blank(division.previousSibling)) division.previousSibling.remove();
    const keepsWhiteSpace = (e) => e.namespaceURI !== 'http://www.w3.org/1999/xhtml' ||
      ['pre', 'listing', 'textarea', 'title', 'script', 'style', 'xmp', 'iframe', 'noembed',
       'noframes', 'plaintext'].includes(e.localName);
    const trimEnd = (from) => {
      for (let n = from; n;) {
        if (n.nodeType === Node.TEXT_NODE) {
          n.data = n.data.replace(/[ \t\n\f\r]+$/, '');
          break;
        }
        if (n.nodeType !== Node.ELEMENT_NODE || keepsWhiteSpace(n)) break;
        // A template's nodes are its content, as in the dump.
        const holder = n.localName === 'template' && n.content ? n.content : n;
        if (blank(holder.lastChild)) holder.lastChild.remove();
        n = holder.lastChild;
      }
    };
    trimEnd(division.previousSibling);
    // A snippet that ends the division early may leave elements open after it: the white
    // space after </body> then ends the body's content after the division.
    while (body.lastChild !== division && blank(body.lastChild)) body.lastChild.remove();
    if (body.lastChild !== division) trimEnd(body.lastChild);
  };
  // The document as text: its doctype, comments and root element in order.
  window.serializePage = (doc) => Array.from(doc.childNodes).map((n) => {
    if (n.nodeType === Node.DOCUMENT_TYPE_NODE) {
      return `<!DOCTYPE ${n.name}${n.publicId ? ` PUBLIC "${n.publicId}"` : ''}${
        n.systemId ? `${n.publicId ? '' : ' SYSTEM'} "${n.systemId}"` : ''}>`;
    }
    if (n.nodeType === Node.COMMENT_NODE) return `<!--${n.data}-->`;
    return n.nodeType === Node.ELEMENT_NODE ? n.outerHTML : '';
  }).join('');
}
