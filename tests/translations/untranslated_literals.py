#!/usr/bin/env python3
"""Lists the texts an author would see that are written as plain literals instead of going
through the translation (tr, QCoreApplication::translate, QT_TRANSLATE_NOOP): a literal given
straight to a widget's text, title, tip, button, menu or message box, and in the Form Check's
checks any literal phrase. Exits 1 when it finds one.

    untranslated_literals.py FILE...
"""
import re
import sys

# Calls whose first text argument the author reads.
CALLS = (r"setText|setWindowTitle|setToolTip|setStatusTip|setWhatsThis|setPlaceholderText|"
         r"setAccessibleName|setAccessibleDescription|setLabelText|setHeaderLabels|addAction|"
         r"addMenu|addButton|addRow|addTab|insertTab|setTabText|showMessage|setModeNote|"
         r"QAction|QMenu|QLabel|QPushButton|QCheckBox|QDockWidget|QGroupBox|QProgressDialog|"
         r"getOpenFileNames?|getSaveFileName|getExistingDirectory|showError")
# Right after the call's "(" (or after a parent argument of the file dialogs, or a "{" of a
# message's title and text): a literal with a letter in it.
LITERAL = r'(?:QStringLiteral\(\s*|QLatin1String\(\s*|u?)"[^"\n]*[A-Za-z][^"\n]*"'
PATTERN = re.compile(
    r"\b(?:" + CALLS + r")\s*\(\s*(?:\{\s*)?(?:[A-Za-z_][\w.>-]*\s*,\s*)?(?:\{\s*)?" + LITERAL)
# A message box request {title, text, ...} whose text is a literal sentence.
MESSAGE = re.compile(r'\{\s*(?:[A-Za-z_]\w*|QStringLiteral\(\s*"[^"\n]*"\s*\))\s*,\s*'
                     r'QStringLiteral\(\s*"[^"\n]* [^"\n]*"')
# What is not a text for the author: names, keys and ids (no capital, no space), file names,
# addresses, and signs written as their code point (\u00D7).
NOT_TEXT = re.compile(
    r'"(?:[^" A-Z]*|[\w./:-]*\.(?:html?|ini|so|png|txt)|https?://[^"]*|(?:\\u[0-9A-Fa-f]{4})+)"')
# The Form Check's findings are put together from phrases before any widget shows them: in its
# checks, a literal of two words or more is a text the author reads. The command line's
# report, English by design, is written in the files named here.
FINDINGS = "/host/formcheck/"
ENGLISH_REPORT = ("form_check_command.cpp", "form_finding.cpp")
PHRASE = re.compile(r'QStringLiteral\(\s*"[^"\n]*[A-Za-z]+ +[A-Za-z][^"\n]*"')


def patterns(path):
    path = "/" + path.replace("\\", "/")
    if FINDINGS in path and not path.endswith(ENGLISH_REPORT):
        return (PATTERN, MESSAGE, PHRASE)
    return (PATTERN, MESSAGE)


def main(files):
    found = 0
    for path in files:
        with open(path, encoding="utf-8") as f:
            text = f.read()
        for pattern in patterns(path):
            for m in pattern.finditer(text):
                literals = re.findall(r'"[^"\n]*"', m.group(0))
                if all(NOT_TEXT.fullmatch(lit) for lit in literals):
                    continue
                line = text.count("\n", 0, m.start()) + 1
                print(f"{path}:{line}: a text without tr(): {m.group(0).strip()}")
                found += 1
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
