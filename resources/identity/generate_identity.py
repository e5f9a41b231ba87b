#!/usr/bin/env python3
"""Builds the component's identity outputs from its IDL file: the C++ header of ids and
names, the binary type library, and the C++ source that embeds the module's resources.

Usage: generate_identity.py IDL --project-version X.Y.Z.W
           --header OUT.h --typelib OUT.tlb --resources OUT.cpp
The formats are described in README.md beside this file.
"""

import argparse
import re
import struct
import sys
import uuid
import zlib
from dataclasses import dataclass, field
from pathlib import Path


class IdlError(Exception):
    def __init__(self, line, message):
        super().__init__(message)
        self.line = line


# --- Reading the IDL ------------------------------------------------------------------

@dataclass
class Token:
    kind: str  # 'punct', 'ident', 'number', 'string', 'guid'
    text: str
    line: int


TOKEN_RE = re.compile(r"""
    (?P<space>[ \t\r]+) |
    (?P<newline>\n) |
    (?P<comment>//[^\n]*) |
    (?P<block>/\*.*?\*/) |
    (?P<string>"(?:[^"\\\n]|\\.)*") |
    (?P<number>[0-9][0-9A-Za-z.]*) |
    (?P<ident>[A-Za-z_][A-Za-z0-9_]*) |
    (?P<punct>[\[\](){};,:*])
""", re.VERBOSE | re.DOTALL)

GUID_RE = re.compile(r"\s*([0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-"
                     r"[0-9A-Fa-f]{12})\s*\)")
ESCAPES = {'\\': '\\', '"': '"', 'n': '\n', 'r': '\r', 't': '\t'}


def unquote(text, line):
    out, i = [], 1
    while i < len(text) - 1:
        c = text[i]
        if c == '\\':
            nxt = text[i + 1]
            if nxt not in ESCAPES:
                raise IdlError(line, f"unknown escape \\{nxt} in a string")
            out.append(ESCAPES[nxt])
            i += 2
        else:
            out.append(c)
            i += 1
    return ''.join(out)


def tokenize(source):
    tokens, pos, line = [], 0, 1
    while pos < len(source):
        # A uuid's argument is read whole: it is not made of ordinary tokens.
        if len(tokens) >= 2 and tokens[-2].text == 'uuid' and tokens[-1].text == '(':
            m = GUID_RE.match(source, pos)
            if not m:
                raise IdlError(line, "uuid(...) needs an id of the form "
                                     "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX")
            tokens.append(Token('guid', m.group(1).upper(), line))
            tokens.append(Token('punct', ')', line))
            pos = m.end()
            continue
        m = TOKEN_RE.match(source, pos)
        if not m:
            raise IdlError(line, f"unexpected character {source[pos]!r}")
        kind, text = m.lastgroup, m.group()
        if kind == 'string':
            tokens.append(Token('string', unquote(text, line), line))
        elif kind in ('number', 'ident', 'punct'):
            tokens.append(Token(kind, text, line))
        line += text.count('\n')
        pos = m.end()
    return tokens


@dataclass
class Attribute:
    name: str
    args: list
    line: int


class Parser:
    def __init__(self, tokens):
        self.tokens, self.pos = tokens, 0

    def peek(self, text=None):
        if self.pos >= len(self.tokens):
            return None if text else Token('end', '', self.last_line())
        tok = self.tokens[self.pos]
        if text is not None:
            return tok if tok.text == text and tok.kind in ('punct', 'ident') else None
        return tok

    def last_line(self):
        return self.tokens[-1].line if self.tokens else 1

    def take(self, text=None, kind=None):
        tok = self.peek()
        if tok.kind == 'end':
            raise IdlError(tok.line, f"unexpected end of file, expected {text or kind}")
        if text is not None and tok.text != text:
            raise IdlError(tok.line, f"expected '{text}', found '{tok.text}'")
        if kind is not None and tok.kind != kind:
            raise IdlError(tok.line, f"expected {kind}, found '{tok.text}'")
        self.pos += 1
        return tok

    def attributes(self):
        attrs = []
        if not self.peek('['):
            return attrs
        self.take('[')
        while True:
            name = self.take(kind='ident')
            args = []
            if self.peek('('):
                self.take('(')
                while True:
                    args.append(self.take())
                    if self.peek(')'):
                        break
                    self.take(',')
                self.take(')')
            attrs.append(Attribute(name.text, args, name.line))
            if self.peek(']'):
                break
            self.take(',')
        self.take(']')
        return attrs

    def type_name(self):
        name = self.take(kind='ident').text
        while self.peek('*'):
            self.take('*')
            name += '*'
        return name


class Attrs:
    """An item's attributes, checked against the ones the item may carry."""

    def __init__(self, attrs, allowed, what, line):
        self.line, self.what, self.by_name = line, what, {}
        for a in attrs:
            if a.name not in allowed:
                raise IdlError(a.line, f"{what} cannot carry the attribute '{a.name}'")
            if a.name in self.by_name:
                raise IdlError(a.line, f"{what} carries '{a.name}' twice")
            self.by_name[a.name] = a

    def has(self, name):
        return name in self.by_name

    def args(self, name, kinds, required=True):
        a = self.by_name.get(name)
        if a is None:
            if required:
                raise IdlError(self.line, f"{self.what} needs the attribute '{name}'")
            return None
        if len(a.args) != len(kinds) or any(t.kind != k for t, k in zip(a.args, kinds)):
            raise IdlError(a.line, f"'{name}' takes {len(kinds)} argument(s) of kind "
                                   f"{', '.join(kinds)}")
        return [t.text for t in a.args]

    def one(self, name, kind, required=True):
        got = self.args(name, [kind], required)
        return got[0] if got else None

    def flag(self, name):
        a = self.by_name.get(name)
        if a is not None and a.args:
            raise IdlError(a.line, f"'{name}' takes no arguments")
        return a is not None


def parse_version(text, parts, line, what):
    m = re.fullmatch(r"\d+(\.\d+)*", text)
    numbers = [int(p) for p in text.split('.')] if m else []
    if len(numbers) != parts or any(n > 0xFFFF for n in numbers):
        raise IdlError(line, f"{what} '{text}' must be {parts} numbers from 0 to 65535 "
                             "joined by points")
    return tuple(numbers)


def parse_int(text, line, bits, signed):
    try:
        value = int(text, 0)
    except ValueError:
        raise IdlError(line, f"'{text}' is not a number") from None
    low, high = (-(1 << (bits - 1)), (1 << bits) - 1) if signed else (0, (1 << bits) - 1)
    if not low <= value <= high:
        raise IdlError(line, f"{value} does not fit in {bits} bits")
    if signed and value >= 1 << (bits - 1):
        value -= 1 << bits
    return value


@dataclass
class Import:
    name: str
    guid: str
    version: tuple
    file: str


@dataclass
class ExternalType:
    name: str
    library: str
    guid: str  # '' when the library's id of the type is not needed here


@dataclass
class Param:
    flags: int
    type: str
    name: str


@dataclass
class Member:
    memid: int
    invkind: int
    name: str
    result: str
    params: list


@dataclass
class Interface:
    name: str
    guid: str
    version: tuple
    flags: int
    base: str
    members: list


@dataclass
class CoClass:
    name: str
    guid: str
    version: tuple
    flags: int
    interfaces: list  # (name, implflags)
    progid: str
    threading: str
    addin_host: str
    friendly_name: str
    description: str
    load_behavior: int


@dataclass
class Library:
    name: str
    guid: str
    version: tuple
    lcid: int
    helpstring: str
    module_name: str
    file_version: tuple  # (text, numbers)
    product_version: tuple
    self_register: bool
    imports: list = field(default_factory=list)
    externals: list = field(default_factory=list)
    interfaces: list = field(default_factory=list)
    coclasses: list = field(default_factory=list)


# Type flags, implementation flags, invoke kinds and parameter flags keep the values of the
# original platform's type information so that a reader who knows those recognises them.
TYPEFLAGS = {'hidden': 0x10, 'dual': 0x40, 'nonextensible': 0x80, 'oleautomation': 0x100}
TYPEFLAG_FCANCREATE = 0x2
TYPEFLAG_FDISPATCHABLE = 0x1000
INVOKEKINDS = {'propget': 2, 'propput': 4, 'propputref': 8}
INVOKE_FUNC = 1
PARAMFLAGS = {'in': 0x1, 'out': 0x2, 'retval': 0x8}
IMPLTYPEFLAG_FDEFAULT = 0x1
TKIND_DISPATCH, TKIND_COCLASS, TKIND_IMPORTED = 4, 5, 0x80
AUTOMATION_TYPES = {'HRESULT', 'long', 'short', 'BSTR', 'VARIANT_BOOL', 'VARIANT', 'void'}


def check_guid_unique(lib):
    seen = {}
    for what, guid in ([('library', lib.guid)] +
                       [(i.name, i.guid) for i in lib.imports] +
                       [(t.name, t.guid) for t in lib.externals if t.guid] +
                       [(i.name, i.guid) for i in lib.interfaces] +
                       [(c.name, c.guid) for c in lib.coclasses]):
        if guid in seen:
            raise IdlError(1, f"{what} and {seen[guid]} share the id {guid}")
        seen[guid] = what


def parse_member(p, known_types):
    attrs = p.attributes()
    line = p.peek().line
    result = p.type_name()
    name = p.take(kind='ident').text
    a = Attrs(attrs, {'id', 'propget', 'propput', 'propputref'}, f"member {name}", line)
    memid = parse_int(a.one('id', 'number'), line, 32, signed=True)
    kinds = [INVOKEKINDS[k] for k in INVOKEKINDS if a.flag(k)]
    if len(kinds) > 1:
        raise IdlError(line, f"member {name} can be only one of propget, propput, propputref")
    params = []
    p.take('(')
    while not p.peek(')'):
        pattrs = p.attributes()
        pline = p.peek().line
        ptype = p.type_name()
        pname = p.take(kind='ident').text
        pa = Attrs(pattrs, set(PARAMFLAGS), f"parameter {pname}", pline)
        flags = sum(PARAMFLAGS[f] for f in PARAMFLAGS if pa.flag(f))
        if ptype.rstrip('*') not in known_types:
            raise IdlError(pline, f"parameter {pname} has the unknown type {ptype}")
        params.append(Param(flags, ptype, pname))
        if not p.peek(')'):
            p.take(',')
    p.take(')')
    p.take(';')
    if result not in AUTOMATION_TYPES:
        raise IdlError(line, f"member {name} returns the unknown type {result}")
    return Member(memid, kinds[0] if kinds else INVOKE_FUNC, name, result, params)


def parse_library(source):
    p = Parser(tokenize(source))
    attrs = p.attributes()
    p.take('library')
    name_tok = p.take(kind='ident')
    a = Attrs(attrs, {'uuid', 'version', 'lcid', 'helpstring', 'modulename', 'fileversion',
                      'productversion', 'selfregister'}, f"library {name_tok.text}",
              name_tok.line)

    def module_version(attr):
        text, numbers = a.args(attr, ['string', 'number'])
        return text, parse_version(numbers, 4, a.by_name[attr].line, attr)

    lib = Library(
        name=name_tok.text,
        guid=a.one('uuid', 'guid'),
        version=parse_version(a.one('version', 'number'), 2, name_tok.line, "version"),
        lcid=parse_int(a.one('lcid', 'number'), name_tok.line, 32, signed=False),
        helpstring=a.one('helpstring', 'string'),
        module_name=a.one('modulename', 'string'),
        file_version=module_version('fileversion'),
        product_version=module_version('productversion'),
        self_register=a.flag('selfregister'))
    known_types = set(AUTOMATION_TYPES)

    p.take('{')
    while not p.peek('}'):
        attrs = p.attributes()
        tok = p.take(kind='ident')
        if tok.text == 'importlib':
            p.take('(')
            file = p.take(kind='string').text
            p.take(')')
            p.take(';')
            ia = Attrs(attrs, {'uuid', 'version', 'name'}, f'importlib("{file}")', tok.line)
            lib.imports.append(Import(ia.one('name', 'ident'), ia.one('uuid', 'guid'),
                                      parse_version(ia.one('version', 'number'), 2, tok.line,
                                                    "version"), file))
        elif tok.text == 'interface':
            name = p.take(kind='ident').text
            if name in known_types:
                raise IdlError(tok.line, f"the type {name} is declared twice")
            if p.peek(';'):
                p.take(';')
                ea = Attrs(attrs, {'from', 'uuid'}, f"interface {name}", tok.line)
                library = ea.one('from', 'ident')
                if library not in [i.name for i in lib.imports]:
                    raise IdlError(tok.line, f"interface {name} comes from {library}, "
                                             "which is not imported")
                lib.externals.append(ExternalType(name, library,
                                                  ea.one('uuid', 'guid', required=False) or ''))
                known_types.add(name)
                continue
            p.take(':')
            base = p.take(kind='ident').text
            if base not in known_types:
                raise IdlError(tok.line, f"interface {name} derives from the unknown {base}")
            ia = Attrs(attrs, {'odl', 'uuid', 'version'} | set(TYPEFLAGS),
                       f"interface {name}", tok.line)
            ia.flag('odl')
            flags = sum(TYPEFLAGS[f] for f in TYPEFLAGS if ia.flag(f)) | TYPEFLAG_FDISPATCHABLE
            members = []
            p.take('{')
            while not p.peek('}'):
                members.append(parse_member(p, known_types))
            p.take('}')
            p.take(';')
            lib.interfaces.append(Interface(name, ia.one('uuid', 'guid'),
                                            parse_version(ia.one('version', 'number'), 2,
                                                          tok.line, "version"),
                                            flags, base, members))
            known_types.add(name)
        elif tok.text == 'coclass':
            name = p.take(kind='ident').text
            ca = Attrs(attrs, {'uuid', 'version', 'progid', 'threadingmodel', 'addinhost',
                               'friendlyname', 'description', 'loadbehavior'},
                       f"coclass {name}", tok.line)
            interfaces = []
            p.take('{')
            while not p.peek('}'):
                iattrs = p.attributes()
                itok = p.take('interface')
                iname = p.take(kind='ident').text
                p.take(';')
                ma = Attrs(iattrs, {'default'}, f"interface {iname} of {name}", itok.line)
                if iname not in known_types or iname in AUTOMATION_TYPES:
                    raise IdlError(itok.line, f"coclass {name} names the unknown {iname}")
                interfaces.append((iname, IMPLTYPEFLAG_FDEFAULT if ma.flag('default') else 0))
            p.take('}')
            p.take(';')
            defaults = [i for i, f in interfaces if f & IMPLTYPEFLAG_FDEFAULT]
            if len(defaults) != 1 or defaults[0] not in [i.name for i in lib.interfaces]:
                raise IdlError(tok.line, f"coclass {name} needs exactly one [default] "
                                         "interface defined in this library")
            progid = ca.one('progid', 'string')
            if progid != f"{lib.name}.{name}":
                raise IdlError(tok.line, f"program id {progid} must be {lib.name}.{name}")
            lib.coclasses.append(CoClass(
                name, ca.one('uuid', 'guid'),
                parse_version(ca.one('version', 'number'), 2, tok.line, "version"),
                TYPEFLAG_FCANCREATE, interfaces, progid, ca.one('threadingmodel', 'string'),
                ca.one('addinhost', 'string'), ca.one('friendlyname', 'string'),
                ca.one('description', 'string'),
                parse_int(ca.one('loadbehavior', 'number'), tok.line, 32, signed=False)))
        else:
            raise IdlError(tok.line, f"expected importlib, interface or coclass, "
                                     f"found '{tok.text}'")
    p.take('}')
    if p.peek(';'):
        p.take(';')
    if p.pos != len(p.tokens):
        raise IdlError(p.peek().line, "text after the end of the library")
    if len(lib.coclasses) != 1:
        raise IdlError(1, "the module exposes exactly one class")
    check_guid_unique(lib)
    return lib


# --- The type library ------------------------------------------------------------------

def guid_bytes(text):
    return uuid.UUID(text).bytes_le if text else bytes(16)


def pack_str(text):
    data = text.encode('utf-8')
    if len(data) > 0xFFFF:
        raise ValueError("string too long for the type library")
    return struct.pack('<H', len(data)) + data


def build_typelib(lib):
    body = bytearray()
    body += guid_bytes(lib.guid)
    body += struct.pack('<HHIH', *lib.version, lib.lcid, 0)
    body += pack_str(lib.name) + pack_str(lib.helpstring) + pack_str('')
    body += struct.pack('<H', len(lib.imports))
    for imp in lib.imports:
        body += guid_bytes(imp.guid) + struct.pack('<HH', *imp.version)
        body += pack_str(imp.name) + pack_str(imp.file)
    import_index = {imp.name: i for i, imp in enumerate(lib.imports)}
    types = len(lib.externals) + len(lib.interfaces) + len(lib.coclasses)
    body += struct.pack('<H', types)
    for ext in lib.externals:
        body += struct.pack('<B', TKIND_IMPORTED) + pack_str(ext.name) + guid_bytes(ext.guid)
        body += struct.pack('<HHIH', 0, 0, 0, import_index[ext.library])
    for itf in lib.interfaces:
        body += struct.pack('<B', TKIND_DISPATCH) + pack_str(itf.name) + guid_bytes(itf.guid)
        body += struct.pack('<HHIH', *itf.version, itf.flags, 0xFFFF)
        body += pack_str(itf.base) + struct.pack('<H', len(itf.members))
        for m in itf.members:
            body += struct.pack('<iH', m.memid, m.invkind) + pack_str(m.name) + pack_str(m.result)
            body += struct.pack('<H', len(m.params))
            for prm in m.params:
                body += struct.pack('<H', prm.flags) + pack_str(prm.type) + pack_str(prm.name)
    for cls in lib.coclasses:
        body += struct.pack('<B', TKIND_COCLASS) + pack_str(cls.name) + guid_bytes(cls.guid)
        body += struct.pack('<HHIH', *cls.version, cls.flags, 0xFFFF)
        body += struct.pack('<H', len(cls.interfaces))
        for name, flags in cls.interfaces:
            body += pack_str(name) + struct.pack('<I', flags)
    header = b'OTLB' + struct.pack('<HHII', 1, 0, 16 + len(body), zlib.crc32(body))
    return header + bytes(body)


# --- The version block -----------------------------------------------------------------

VERSION_FLAG_SELFREGISTER = 0x1


def build_version_block(lib):
    text, numbers = lib.file_version
    ptext, pnumbers = lib.product_version
    block = b'OVER' + struct.pack('<4H4HI', *numbers, *pnumbers,
                                  VERSION_FLAG_SELFREGISTER if lib.self_register else 0)
    strings = [('FileDescription', lib.helpstring), ('FileVersion', text),
               ('InternalName', lib.module_name),
               ('OriginalFilename', lib.module_name + '.so'),
               ('ProductName', lib.name), ('ProductVersion', ptext)]
    if lib.self_register:
        strings.append(('OLESelfRegister', ''))
    for key, value in strings:
        block += key.encode('utf-8') + b'\0' + value.encode('utf-8') + b'\0'
    return block + b'\0'


# --- C++ outputs -----------------------------------------------------------------------

def cxx_string(text):
    out = []
    for ch in text:
        if ch in '\\"':
            out.append('\\' + ch)
        elif ' ' <= ch <= '~':
            out.append(ch)
        else:
            out.append(''.join(f'\\x{b:02x}' for b in ch.encode('utf-8')))
    return '"' + ''.join(out) + '"'


def cxx_guid(text):
    return f'com::Guid::literal("{{{text}}}")'


def cxx_bytes(data, indent='    '):
    lines = []
    for i in range(0, len(data), 16):
        lines.append(indent + ', '.join(f'0x{b:02x}' for b in data[i:i + 16]) + ',')
    return '\n'.join(lines)


def build_header(lib, idl_name):
    cls = lib.coclasses[0]
    default_itf = next(n for n, f in cls.interfaces if f & IMPLTYPEFLAG_FDEFAULT)
    out = [f"// The component's ids, names and versions; generated from {idl_name}, do not edit.",
           "#pragma once", "",
           "#include <array>", "#include <cstdint>", "#include <string_view>", "",
           '#include "com/guid.h"', "",
           "namespace ostrel::identity {", "",
           "// The type library.",
           f"inline constexpr std::string_view kLibraryName = {cxx_string(lib.name)};",
           f"inline constexpr com::Guid LIBID_{lib.name} = {cxx_guid(lib.guid)};",
           f"inline constexpr std::uint16_t kTypeLibMajor = {lib.version[0]};",
           f"inline constexpr std::uint16_t kTypeLibMinor = {lib.version[1]};",
           f"inline constexpr std::uint32_t kTypeLibLocale = {lib.lcid};",
           f"inline constexpr std::string_view kTypeLibHelpString = "
           f"{cxx_string(lib.helpstring)};", "",
           "// The module file and its version block.",
           f"inline constexpr std::string_view kModuleName = {cxx_string(lib.module_name)};",
           f"inline constexpr std::string_view kFileVersion = {cxx_string(lib.file_version[0])};",
           "inline constexpr std::array<std::uint16_t, 4> kFileVersionNumbers{"
           + ", ".join(map(str, lib.file_version[1])) + "};",
           f"inline constexpr std::string_view kProductVersion = "
           f"{cxx_string(lib.product_version[0])};",
           "inline constexpr std::array<std::uint16_t, 4> kProductVersionNumbers{"
           + ", ".join(map(str, lib.product_version[1])) + "};",
           f"inline constexpr bool kSelfRegistering = {'true' if lib.self_register else 'false'};",
           "", "// Libraries that the type library refers to.",
           "struct ImportedLibrary {", "    std::string_view name;", "    com::Guid id;",
           "    std::uint16_t major;", "    std::uint16_t minor;", "    std::string_view file;",
           "};",
           f"inline constexpr std::array<ImportedLibrary, {len(lib.imports)}> kImportedLibraries{{{{"]
    for imp in lib.imports:
        out.append(f"    {{{cxx_string(imp.name)}, {cxx_guid(imp.guid)}, {imp.version[0]}, "
                   f"{imp.version[1]}, {cxx_string(imp.file)}}},")
    out += ["}};", "", "// Interfaces defined elsewhere that the component implements or uses."]
    for ext in lib.externals:
        if ext.guid:
            out.append(f"inline constexpr com::Guid IID_{ext.name} = {cxx_guid(ext.guid)};")
    for itf in lib.interfaces:
        out += ["", f"// Interface {itf.name}.",
                f"inline constexpr com::Guid IID_{itf.name} = {cxx_guid(itf.guid)};"]
        done = set()
        for m in itf.members:
            if m.name not in done:
                out.append(f"inline constexpr std::int32_t kDispId{itf.name}_{m.name} = "
                           f"{m.memid:#x};" if m.memid >= 0 else
                           f"inline constexpr std::int32_t kDispId{itf.name}_{m.name} = "
                           f"{m.memid};")
                done.add(m.name)
    out += ["", f"// Class {cls.name}, the module's only creatable class.",
            f"inline constexpr std::string_view kClassName = {cxx_string(cls.name)};",
            f"inline constexpr com::Guid CLSID_{cls.name} = {cxx_guid(cls.guid)};",
            f"inline constexpr std::string_view kProgId = {cxx_string(cls.progid)};",
            f"inline constexpr std::string_view kThreadingModel = {cxx_string(cls.threading)};",
            f"inline constexpr std::string_view kDefaultInterfaceName = "
            f"{cxx_string(default_itf)};",
            "", "// The host's add-in entry of the class, named by its program id.",
            f"inline constexpr std::string_view kAddInHostKey = {cxx_string(cls.addin_host)};",
            f"inline constexpr std::string_view kAddInFriendlyName = "
            f"{cxx_string(cls.friendly_name)};",
            f"inline constexpr std::string_view kAddInDescription = "
            f"{cxx_string(cls.description)};",
            f"inline constexpr std::uint32_t kAddInLoadBehavior = {cls.load_behavior};",
            "", "}  // namespace ostrel::identity", ""]
    return '\n'.join(out)


def build_resources(lib, typelib, version_block, idl_name):
    cls = lib.coclasses[0]
    default_itf = next(n for n, f in cls.interfaces if f & IMPLTYPEFLAG_FDEFAULT)
    itf = next(i for i in lib.interfaces if i.name == default_itf)
    iid_resource = struct.pack('<I', 16) + guid_bytes(itf.guid)
    note_name = b'Ostrel\0'
    padded_name = note_name + bytes(-len(note_name) % 4)
    padded_desc = version_block + bytes(-len(version_block) % 4)
    return f"""// The module's embedded resources; generated from {idl_name}, do not edit.
#include <cstdint>

#include "resources/identity/embedded_resources.h"

namespace ostrel::identity {{
namespace {{

const unsigned char kTypeLib[] = {{
{cxx_bytes(typelib)}
}};

const unsigned char kIid{cls.name}[] = {{
{cxx_bytes(iid_resource)}
}};

// The version block lives in an ELF note, so that `readelf -n` lists it with the module.
struct VersionNote {{
    std::uint32_t nameSize;
    std::uint32_t descSize;
    std::uint32_t type;
    unsigned char name[{len(padded_name)}];
    unsigned char desc[{len(padded_desc)}];
}};

[[gnu::section(".note.ostrel.version"), gnu::used, gnu::aligned(4)]]
const VersionNote kVersionNote = {{
    {len(note_name)}, {len(version_block)}, {VERSION_NOTE_TYPE},
    {{{', '.join(f'0x{b:02x}' for b in padded_name)}}},
    {{
{cxx_bytes(padded_desc, '        ')}
    }},
}};

const EmbeddedResource kResources[] = {{
    {{"TYPELIB", 1, kTypeLib, sizeof kTypeLib}},
    {{"_IID_{cls.name.upper()}", 1, kIid{cls.name}, sizeof kIid{cls.name}}},
    {{"VERSION", 1, kVersionNote.desc, {len(version_block)}}},
}};

}}  // namespace

std::span<const EmbeddedResource> embeddedResources() {{ return kResources; }}

}}  // namespace ostrel::identity
"""


VERSION_NOTE_TYPE = 1


def write_if_changed(path, data):
    path = Path(path)
    if isinstance(data, str):
        data = data.encode('utf-8')
    if path.exists() and path.read_bytes() == data:
        return
    path.parent.mkdir(parents=True, exist_ok=True)
    tmp = path.with_name(path.name + '.tmp')
    tmp.write_bytes(data)
    tmp.replace(path)


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument('idl')
    ap.add_argument('--project-version', required=True,
                    help="the build's version; the IDL's numeric file version must match it")
    ap.add_argument('--header', required=True)
    ap.add_argument('--typelib', required=True)
    ap.add_argument('--resources', required=True)
    args = ap.parse_args()

    idl = Path(args.idl)
    try:
        lib = parse_library(idl.read_text(encoding='utf-8'))
        project = parse_version(args.project_version, 4, 0, "project version")
        if lib.file_version[1] != project:
            raise IdlError(1, f"the file version {lib.file_version[1]} differs from the "
                              f"project version {args.project_version}")
    except IdlError as e:
        print(f"{idl}:{e.line}: error: {e}", file=sys.stderr)
        return 1
    except (OSError, UnicodeDecodeError) as e:
        print(f"{idl}: error: {e}", file=sys.stderr)
        return 1

    typelib = build_typelib(lib)
    write_if_changed(args.header, build_header(lib, idl.name))
    write_if_changed(args.typelib, typelib)
    write_if_changed(args.resources,
                     build_resources(lib, typelib, build_version_block(lib), idl.name))
    return 0


if __name__ == '__main__':
    sys.exit(main())
