#!/usr/bin/python3
"""Writes the words of every language in po/LINGUAS, as the catalogue has them, for the
programs, the page and the installer. English, the source language, comes first, from the
template's messages; each other language from its PO file. The words are the messages with
a context, which names them.

  catalogue.py PO-DIR [--cpp FILE] [--json FILE] [--nsis FILE]
                [--rc FILE --describe TEXT --nlf-dir DIR]

--cpp   the C++ table behind Catalogue() and Languages() (hostkit/words.h)
--json  a list of objects, one a language: "language" as po/LINGUAS has it, "tag" as BCP 47
        writes it, and each word by its name
--nsis  the installer's languages (Modern UI's) and its own strings, as LangStrings
--rc    the Windows program's version information in every language: its description is
        "Pelmiro" and the translation of TEXT, each block under the language's Windows
        language ID, which NSIS's language file in DIR gives; the other values are macros
        the including resource script defines (PELMIRO_COMPANY, PELMIRO_VERSION,
        PELMIRO_COPYRIGHT)

Fails, naming what is missing, when a language lacks a word or has one marked fuzzy.
"""
import argparse
import json
import pathlib
import sys

import polib

DIRECTIONS = ('ltr', 'rtl')


def fail(message):
    sys.exit(f'catalogue.py: {message}')


def linguas(po_dir):
    lines = (po_dir / 'LINGUAS').read_text(encoding='utf-8').splitlines()
    return [line.strip() for line in lines if line.strip() and not line.startswith('#')]


def read(po_dir):
    """[(language, {name: text})], English first, names in the template's order."""
    template = polib.pofile(str(po_dir / 'pelmiro.pot'))
    names = [entry.msgctxt for entry in template if entry.msgctxt]
    english = {entry.msgctxt: entry.msgid for entry in template if entry.msgctxt}
    languages = [('en', english)]
    for language in linguas(po_dir):
        catalogue = polib.pofile(str(po_dir / f'{language}.po'))
        words = {}
        for name in names:
            entry = catalogue.find(english[name], msgctxt=name)
            if entry is None or not entry.msgstr or entry.fuzzy or entry.obsolete:
                fail(f'po/{language}.po has no finished translation of {name}')
            words[name] = entry.msgstr
        languages.append((language, words))
    for language, words in languages:
        if words['Direction'] not in DIRECTIONS:
            fail(f'the direction of {language} is "{words["Direction"]}", not one of {DIRECTIONS}')
    return names, languages


def cpp_string(text):
    escaped = ''.join(c if ' ' <= c <= '~' and c not in '\\"' else
                      f'\\{c}' if c in '\\"' else
                      f'\\u{ord(c):04X}' if ord(c) <= 0xFFFF else f'\\U{ord(c):08X}'
                      for c in text)
    return f'u"{escaped}"'


def write_cpp(path, names, languages):
    rows = []
    for language, words in languages[1:]:
        fields = ''.join(f'\n     .{name} = {cpp_string(words[name])},' for name in names)
        rows.append(f'    {{.Language = "{language}",{fields}}},')
    tags = ', '.join(f'"{language}"' for language, _ in languages)
    path.write_text(f'''// Written by cmake/catalogue.py from po/: the words of every language Pelmiro speaks.
#include "hostkit/words.h"

namespace pelmiro {{
namespace {{

constexpr Words Table[] = {{
    English,
{chr(10).join(rows)}
}};
constexpr const char* Names[] = {{{tags}}};
static_assert(std::size(Table) == std::size(Names));

}}  // namespace

std::span<const Words> Catalogue() {{
  return Table;
}}

std::span<const char* const> Languages() {{
  return Names;
}}

}}  // namespace pelmiro
''', encoding='utf-8')


def write_json(path, languages):
    table = [{'language': language, 'tag': language.replace('_', '-'), **words}
             for language, words in languages]
    path.write_text(json.dumps(table, ensure_ascii=False, indent=1) + '\n', encoding='utf-8')


def nsis_string(text):
    return '"' + text.replace('$', '$$').replace('"', '$\\"').replace('\n', '$\\n') + '"'


def write_nsis(path, names, languages):
    lines = ['; Written by cmake/catalogue.py from po/: the installer in every language Pelmiro',
             '; speaks, the first the one it falls back on.']
    for _, words in languages:
        lines.append(f'!insertmacro MUI_LANGUAGE {nsis_string(words["InstallerLanguage"])}')
    for name in names:
        for _, words in languages:
            constant = '${LANG_' + words['InstallerLanguage'].upper() + '}'
            lines.append(f'LangString {name} {constant} {nsis_string(words[name])}')
    path.write_text('\n'.join(lines) + '\n', encoding='utf-8')


def language_id(nlf_dir, name):
    lines = (nlf_dir / f'{name}.nlf').read_text(encoding='utf-8-sig').splitlines()
    return int(lines[lines.index('# Language ID') + 1])


def write_rc(path, po_dir, languages, describe, nlf_dir):
    unicode = 1200  # the code page of every block
    blocks, pairs = [], []
    for language, words in languages:
        text = describe
        if language != 'en':
            entry = polib.pofile(str(po_dir / f'{language}.po')).find(describe)
            if entry is None or not entry.msgstr or entry.fuzzy:
                fail(f'po/{language}.po has no finished translation of "{describe}"')
            text = entry.msgstr
        number = language_id(nlf_dir, words['InstallerLanguage'])
        pairs.append(f'0x{number:X}, {unicode}')
        text = text.replace('"', '""')  # as a resource script writes a quote
        blocks.append(f'''    BLOCK "{number:04X}{unicode:04X}"
    BEGIN
      VALUE "CompanyName", PELMIRO_COMPANY
      VALUE "FileDescription", "Pelmiro {text}"
      VALUE "FileVersion", PELMIRO_VERSION
      VALUE "InternalName", "pelmiro"
      VALUE "LegalCopyright", PELMIRO_COPYRIGHT
      VALUE "OriginalFilename", "pelmiro.exe"
      VALUE "ProductName", "Pelmiro"
      VALUE "ProductVersion", PELMIRO_VERSION
    END''')
    path.write_text(f'''// Written by cmake/catalogue.py from po/: the version information in every language.
BLOCK "StringFileInfo"
BEGIN
{chr(10).join(blocks)}
END
BLOCK "VarFileInfo"
BEGIN
  VALUE "Translation", {", ".join(pairs)}
END
''', encoding='utf-8')


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('po_dir', type=pathlib.Path)
    parser.add_argument('--cpp', type=pathlib.Path)
    parser.add_argument('--json', type=pathlib.Path)
    parser.add_argument('--nsis', type=pathlib.Path)
    parser.add_argument('--rc', type=pathlib.Path)
    parser.add_argument('--describe')
    parser.add_argument('--nlf-dir', type=pathlib.Path)
    args = parser.parse_args()
    names, languages = read(args.po_dir)
    if args.cpp:
        write_cpp(args.cpp, names, languages)
    if args.json:
        write_json(args.json, languages)
    if args.nsis:
        write_nsis(args.nsis, names, languages)
    if args.rc:
        write_rc(args.rc, args.po_dir, languages, args.describe, args.nlf_dir)


main()
