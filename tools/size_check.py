#!/usr/bin/env python3
"""Lists source files over the line limit and C++ functions over the function limit.

usage: tools/size_check.py [--file-limit N] [--function-limit N] [FOLDER or FILE...]
(by default the folders of the programs: tools/, bench/ and tests/ are not held to it)

Functions are found by a plain brace count over the text with comments, strings and character
literals blanked: a block whose header has a parameter list and that is not nested in another
function is a function (lambdas count with the function around them). It is a tool for reading
the code, not a parser, so a macro that hides a brace can mislead it. Exits 1 when it finds any.
"""

import argparse
import os
import re
import sys

SOURCE_ENDINGS = (".cpp", ".h")
PRODUCT_FOLDERS = ["plot", "render", "view", "dxf", "cli", "print", "widgets", "fontdlg", "res",
                   "app"]
CONTAINER = re.compile(r"^\s*(template\s*<.*>\s*)?(namespace|class|struct|union|enum)\b[^(]*$|"
                       r'^\s*extern\s+"C"\s*$', re.S)


def blank_literals(text):
    """Comments, strings and character literals become spaces; line breaks stay."""
    out = []
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            out.append(" " * (j - i))
            i = j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            out.append(re.sub(r"[^\n]", " ", text[i:j]))
            i = j
        elif text.startswith('R"', i) and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == "_")):
            k = text.find("(", i)
            delim = ")" + text[i + 2:k] + '"'
            j = text.find(delim, k)
            j = n if j < 0 else j + len(delim)
            out.append(re.sub(r"[^\n]", " ", text[i:j]))
            i = j
        elif c in "\"'":
            if c == "'" and i > 0 and text[i - 1].isalnum():  # digit separator as in 1'000
                out.append(" ")
                i += 1
                continue
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            j = min(j + 1, n)
            out.append(" " * (j - i))
            i = j
        else:
            out.append(c)
            i += 1
    return "".join(out)


def blank_preprocessor(code):
    """Directives (with their continued lines) are no part of the next block's header."""
    return re.sub(r"(?m)^[ \t]*#(?:.*\\\n)*.*$", lambda m: re.sub(r"[^\n]", " ", m.group(0)), code)


def long_functions(text, limit):
    """(first line, line count, name) of every function longer than limit lines."""
    code = blank_preprocessor(blank_literals(text))
    found = []
    stack = []  # per open brace: ("container",), ("function", first line, name) or ("other",)
    header_start = 0
    for i, c in enumerate(code):
        if c == "{":
            header = code[header_start:i]
            inside_function = any(block[0] == "function" for block in stack)
            if inside_function:
                kind = "other"
            elif CONTAINER.match(header):
                kind = "container"
            elif "(" in header and not re.search(r"=\s*$", header):
                kind = "function"
            else:
                kind = "other"
            if kind == "function":
                stripped = header.lstrip()
                start = header_start + (len(header) - len(stripped))
                name = re.search(r"([~\w:<>]+)\s*\(", stripped)
                stack.append(("function", code.count("\n", 0, start) + 1,
                              name.group(1) if name else "?"))
            else:
                stack.append((kind,))
            header_start = i + 1
        elif c == "}":
            if stack:
                top = stack.pop()
                if top[0] == "function":
                    end = code.count("\n", 0, i) + 1
                    length = end - top[1] + 1
                    if length > limit:
                        found.append((top[1], length, top[2]))
            header_start = i + 1
        elif c == ";":
            header_start = i + 1
    return found


def sources(paths):
    for folder in paths:
        if os.path.isfile(folder):
            yield folder
        for root, dirs, files in os.walk(folder):
            dirs.sort()
            for name in sorted(files):
                if name.endswith(SOURCE_ENDINGS):
                    yield os.path.join(root, name)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--file-limit", type=int, default=400)
    parser.add_argument("--function-limit", type=int, default=80)
    parser.add_argument("folders", nargs="*", default=PRODUCT_FOLDERS)
    args = parser.parse_args()

    offenders = 0
    for path in sources(args.folders):
        with open(path, encoding="utf-8", errors="replace") as f:
            text = f.read()
        lines = text.count("\n") + (0 if text.endswith("\n") or not text else 1)
        if lines > args.file_limit:
            print(f"{path}: file of {lines} lines")
            offenders += 1
        for line, length, name in long_functions(text, args.function_limit):
            print(f"{path}:{line}: function {name} of {length} lines")
            offenders += 1
    return 1 if offenders else 0


if __name__ == "__main__":
    sys.exit(main())
