#!/usr/bin/env python3
"""The docs target's two helpers: Doxygen's input filter for the Markdown
pages, and the check that the generated HTML shows what the sources say.

  MorvaneDocs.py filter FILE.md
      Prints FILE.md as Doxygen must read it to show what GitHub shows.
      Doxygen drops a '%' that stands before a word ("%ld" shows as "ld",
      in code spans too) and takes "%%" before a word as one '%'. A Markdown
      page cannot escape it for both readers (GitHub shows a backslash or a
      second '%' in a code span literally), so the filter doubles each such
      '%' outside fenced code blocks, which Doxygen shows as written.

  MorvaneDocs.py check HTML_DIR SOURCE...
      Reads the pages in HTML_DIR (the Doxygen output) and the sources that
      Doxygen read (the Markdown pages, the public headers or their
      directory), and fails, naming the source line or the page and the
      text, when
        - a printf-style conversion (%d, %ld, %5d, %%, ...) or another '%'
          written in a header's documentation comment or in a Markdown page
          is missing from the pages (Doxygen dropped the '%');
        - a page shows Markdown or HTML markup as literal text (a '**', a
          backtick, a '<tt>' ...), which Doxygen raises no warning for.
"""
import html
import html.parser
import os
import re
import sys

# A '%' that Doxygen drops: one directly before a word character.
PERCENT_BEFORE_WORD = re.compile(r"%(?=[A-Za-z_])")

# A printf-style conversion: %% or flags, width, precision, length and a
# letter, ending at a word boundary ("%ld" is one; "%XString" is Doxygen's
# way to keep XString from becoming a link, not a conversion).
CONVERSION = (r"%(?:%|[-+#0]*(?:\d+|\*)?(?:\.(?:\d+|\*)?)?"
              r"(?:hh|h|ll|l|L|z|j|t|I64|I32|I|q|w)?[A-Za-z])(?![A-Za-z0-9_])")
# The words of a text, its conversions and its other '%' signs (not the one
# Doxygen takes away from before a word) are what the check compares.
TOKEN = re.compile(CONVERSION + r"|%(?![A-Za-z_])|\w+")
IS_PERCENT = re.compile(CONVERSION + "|%")

# Markup that a page must never show as text. Prose only: code, listings and
# declarations may hold '**' (char**) or a backtick as written.
LITERAL_MARKUP = re.compile(
    r"\*\*|`|</?(?:tt|code|b|i|em|strong|kbd|pre|span|div|p|br|sup|sub|u|s|a|"
    r"h[1-6]|ul|ol|li|table|tr|td|th)(?:\s[^<>]*)?/?>")

HEADING = re.compile(r"h[1-6]")
# What usually leads Doxygen 1.9 to show a markup as text, and the way out
# that reads right on GitHub as well.
MARKUP_HINTS = {
    "**": "Doxygen takes no '**' that opens on a code span: write "
          "<b>`name`</b> instead",
    "`": "a code span that holds a quote (') confuses Doxygen: write it "
         "between double backticks and spaces, `` it's ``",
    "<tt>": "Doxygen shows a code span in a heading as '<tt>': write the "
            "heading without backticks",
}

FENCE = re.compile(r"^\s*(```|~~~)")

# Doxygen commands that open a section of their own: their text does not run
# on from the words before them.
SECTION_COMMANDS = {
    "param", "tparam", "return", "returns", "retval", "note", "warning",
    "pre", "post", "brief", "details", "see", "sa", "throws", "throw",
    "exception", "since", "deprecated", "file", "code", "endcode", "par",
    "remark", "remarks", "attention", "todo", "bug", "invariant"
}

# Elements whose text is prose, and the classes of those that hold code.
BLOCK_TAGS = {
    "p", "div", "td", "th", "tr", "li", "dd", "dt", "br", "h1", "h2", "h3",
    "h4", "h5", "h6", "table", "pre", "ul", "ol", "dl", "hr"
}
CODE_TAGS = {"code", "pre", "tt", "kbd"}
CODE_CLASSES = {
    "fragment", "memproto", "memItemLeft", "memItemRight", "memTemplParams",
    "memTemplItemLeft", "memTemplItemRight", "line", "memname"
}
SKIPPED_TAGS = {"script", "style", "head"}
VOID_TAGS = {"br", "hr", "img", "input", "meta", "link", "area", "col"}


def filter_markdown(path):
    out = []
    fenced = False
    with open(path, encoding="utf-8") as f:
        for line in f:
            if FENCE.match(line):
                fenced = not fenced
            elif not fenced:
                # Doxygen shows a double-quoted text as written.
                parts = line.split('"')
                parts[::2] = [PERCENT_BEFORE_WORD.sub("%%", part)
                              for part in parts[::2]]
                line = '"'.join(parts)
            out.append(line)
    sys.stdout.buffer.write("".join(out).encode("utf-8"))


class Page(html.parser.HTMLParser):
    """The visible text of a page, as words, and its prose as blocks."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.stack = []  # (tag, holds code)
        self.skip = 0
        self.text = []
        self.heading = ""  # the last heading, for the messages
        self.in_heading = False
        # Blocks of visible text: [heading, text, code mask].
        self.blocks = [["", "", []]]

    def new_block(self):
        self.text.append(" ")
        heading = None if self.in_heading else self.heading
        self.blocks.append([heading, "", []])

    def handle_starttag(self, tag, attrs):
        if tag in SKIPPED_TAGS:
            self.skip += 1
        if HEADING.fullmatch(tag):
            self.in_heading = True
            self.heading = ""
        if tag in BLOCK_TAGS:
            self.new_block()
        if tag in VOID_TAGS:
            return
        classes = set((dict(attrs).get("class") or "").split())
        self.stack.append((tag, tag in CODE_TAGS or bool(classes & CODE_CLASSES)))

    def handle_endtag(self, tag):
        if tag in SKIPPED_TAGS:
            self.skip = max(0, self.skip - 1)
        if tag in VOID_TAGS:
            return
        for i in range(len(self.stack) - 1, -1, -1):
            if self.stack[i][0] == tag:
                del self.stack[i:]
                break
        if HEADING.fullmatch(tag):
            self.in_heading = False
            self.heading = " ".join(self.heading.split())
        if tag in BLOCK_TAGS:
            self.new_block()

    def handle_data(self, data):
        if self.skip:
            return
        self.text.append(data)
        if self.in_heading:
            self.heading += data
        block = self.blocks[-1]
        block[1] += data
        block[2] += [any(code for _, code in self.stack)] * len(data)

    def words(self):
        return TOKEN.findall("".join(self.text))

    def prose_markup(self):
        """(heading, text, markup found outside code, where the first one
        starts) for each block that shows markup."""
        for heading, text, code in self.blocks:
            found = [m for m in LITERAL_MARKUP.finditer(text)
                     if not any(code[m.start():m.end()])]
            if found:
                yield heading, text, [m.group(0) for m in found], found[0].start()


def read_pages(html_dir):
    pages = {}
    for name in sorted(os.listdir(html_dir)):
        if not name.endswith(".html") or name.endswith("_source.html"):
            continue  # source listings show the comments as written
        page = Page()
        with open(os.path.join(html_dir, name), encoding="utf-8") as f:
            page.feed(f.read())
        pages[name] = page
    return pages


def markdown_runs(path):
    """(line, text) runs of a Markdown page as a reader sees its text:
    paragraphs, with code spans literal and escapes and tags resolved."""
    runs, run, fenced = [], [], False
    with open(path, encoding="utf-8") as f:
        lines = f.read().split("\n")
    for number, line in enumerate(lines, 1):
        if FENCE.match(line):
            fenced = not fenced
            if run:
                runs.append(run)
            run = []
            continue
        if not fenced:
            if not line.strip():
                if run:
                    runs.append(run)
                run = []
                continue
            parts = line.split("`")
            for i in range(0, len(parts), 2):  # outside code spans
                part = re.sub(r"\]\([^)]*\)", "]", parts[i])
                part = re.sub(r"</?[A-Za-z][^<>]*>", " ", part)
                part = re.sub(r"\\([!-/:-@\[-`{-~])", r"\1", part)
                parts[i] = html.unescape(part)
            line = " ".join(parts)
        run.append((number, line))
    if run:
        runs.append(run)
    return runs


def comment_runs(path):
    """(line, text) runs of a header's documentation comments as Doxygen
    reads them: '\\%' and '%%' before a word stand for one '%'."""
    runs, run = [], []

    def close():
        if run:
            runs.append(run[:])
        del run[:]

    def add(number, text):
        text = re.sub(r"\\%", "%", text)
        text = re.sub(r"%%(?=[A-Za-z_])", "%", text)
        # A section command breaks the run; no command is a word shown.
        pieces = re.split(r"(?<!\\)[\\@](?=[A-Za-z])", text)
        for i, piece in enumerate(pieces):
            if i > 0:
                command = re.match(r"[A-Za-z]+", piece).group(0)
                if command in SECTION_COMMANDS:
                    close()
                piece = piece[len(command):]
            run.append((number, piece))

    with open(path, encoding="utf-8") as f:
        lines = f.read().split("\n")
    in_block = False
    for number, line in enumerate(lines, 1):
        if in_block:
            end = line.find("*/")
            in_block = end < 0
            add(number, re.sub(r"^\s*\*?", "", line if in_block else line[:end]))
            continue
        m = re.search(r"(?<!/)(?:///|//!)(?!/)<?|/\*[*!]<?", line)
        if not m:
            close()
            continue
        trailing = bool(line[:m.start()].strip())
        if trailing:
            close()  # documents the code before it, on its own
        rest = line[m.end():]
        if m.group(0).startswith("/*"):
            end = rest.find("*/")
            in_block = end < 0
            rest = rest if in_block else rest[:end]
        add(number, rest)
        if trailing and not in_block:
            close()
    close()
    return runs


def contains(words, window):
    n = len(window)
    first = window[0]
    for i, word in enumerate(words):
        if word == first and words[i:i + n] == window:
            return True
    return False


def is_markdown_page(name):
    """Whether Doxygen made the page from a Markdown page (the README is the
    main page, index.html)."""
    return name == "index.html" or name.startswith("md_")


def check_conversions(sources, pages, errors):
    page_words = {name: page.words() for name, page in pages.items()}
    found = 0
    for source in sources:
        shown = os.path.relpath(source)
        markdown = source.endswith(".md")
        # Each source is looked for in the pages made from its kind only.
        candidates = [w for name, w in page_words.items()
                      if is_markdown_page(name) == markdown]
        runs = markdown_runs(source) if markdown else comment_runs(source)
        for run in runs:
            tokens = []  # (line, token)
            for number, text in run:
                tokens += [(number, t) for t in TOKEN.findall(text)]
            words = [t for _, t in tokens]
            for i, (number, token) in enumerate(tokens):
                if not IS_PERCENT.fullmatch(token):
                    continue
                found += 1
                window = words[max(0, i - 1):i + 2]
                if any(contains(w, window) for w in candidates):
                    continue
                hint = ("the Markdown filter did not keep it" if markdown else
                        "write it as \\" + token + " in a header comment")
                errors.append(
                    "%s:%d: the '%s' (in \"%s\") is shown on no page:"
                    " Doxygen drops a '%%' before a word or a quote; %s" %
                    (shown, number, token, " ".join(window), hint))
    return found


def locate(sources, text):
    """The source line that most likely holds text, or None."""
    words = set(w for w in re.findall(r"\w+", LITERAL_MARKUP.sub(" ", text))
                if len(w) > 1)
    best, best_score = None, 0
    for source in sources:
        with open(source, encoding="utf-8") as f:
            for number, line in enumerate(f, 1):
                score = len(words & set(re.findall(r"\w+", line)))
                if score > best_score:
                    best, best_score = (source, number), score
    if best is None or best_score * 2 < min(len(words), 6):
        return None
    return "%s:%d" % (os.path.relpath(best[0]), best[1])


def check_markup(sources, pages, errors):
    for name, page in pages.items():
        for heading, text, found, at in page.prose_markup():
            start = max(0, at - 50)
            shown = " ".join(text[start:at + 50].split())
            if start > 0:
                shown = "..." + shown
            if at + 50 < len(text):
                shown += "..."
            where = locate(sources, text[start:at + 50])
            errors.append(
                "%s%s: shows %s as text in \"%s\"%s" %
                (name, ", in a heading" if heading is None else
                 ", under \"%s\"" % heading if heading else "",
                 " and ".join("'%s'" % m for m in sorted(set(found))), shown,
                 "; written at %s" % where if where else ""))
            hints = [MARKUP_HINTS[m] for m in sorted(set(found))
                     if m in MARKUP_HINTS]
            if hints:
                errors[-1] += " (" + "; ".join(hints) + ")"


def check(html_dir, sources):
    pages = read_pages(html_dir)
    if not pages:
        print("MorvaneDocs.py: no HTML page in %s" % html_dir, file=sys.stderr)
        return 1
    errors = []
    found = check_conversions(sources, pages, errors)
    if found == 0:
        errors.append("no printf-style conversion found in %s: the check "
                      "read nothing" % " ".join(sources))
    check_markup(sources, pages, errors)
    for error in errors:
        print("docs: " + error, file=sys.stderr)
    if errors:
        print("docs: %d problem(s) in the HTML pages in %s" %
              (len(errors), html_dir), file=sys.stderr)
        return 1
    print("docs: %d page(s) checked, %d '%%' sign(s) and conversion(s) shown as written" %
          (len(pages), found))
    return 0


def sources_of(paths):
    out = []
    for path in paths:
        if os.path.isdir(path):
            out += sorted(os.path.join(path, n) for n in os.listdir(path)
                          if n.endswith((".h", ".hpp", ".md")))
        else:
            out.append(path)
    return out


def main(argv):
    if len(argv) == 3 and argv[1] == "filter":
        filter_markdown(argv[2])
        return 0
    if len(argv) >= 4 and argv[1] == "check":
        return check(argv[2], sources_of(argv[3:]))
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
