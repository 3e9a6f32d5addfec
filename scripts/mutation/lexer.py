"""A C++ tokenizer just good enough to find mutation sites.

It knows where comments, string and character literals and preprocessor
lines are, so that nothing inside them is ever mutated, and it keeps each
token's line and columns so that a mutation is an edit of one line.
"""

import bisect
import re
from dataclasses import dataclass

# Token kinds. Only CODE_KINDS take part in mutations.
IDENT, NUMBER, PUNCT, STRING, CHAR, COMMENT, PREPROC = (
    "ident", "number", "punct", "string", "char", "comment", "preproc")
CODE_KINDS = (IDENT, NUMBER, PUNCT, STRING, CHAR)

_PUNCTUATORS = sorted([
    "<<=", ">>=", "<=>", "->*", "...",
    "::", "->", "++", "--", "<<", ">>", "<=", ">=", "==", "!=", "&&", "||",
    "+=", "-=", "*=", "/=", "%=", "&=", "|=", "^=", ".*", "##",
], key=len, reverse=True)

_PREFIX = r"(?:u8|u|U|L)?"
_RAW_STRING_START = re.compile(_PREFIX + r'R"([^()\\\s]{0,16})\(')
_STRING = re.compile(_PREFIX + r'"(?:\\.|[^"\\\n])*"?')
_CHAR = re.compile(_PREFIX + r"'(?:\\.|[^'\\\n])*'?")
# A pp-number: digits, digit separators, suffixes and signed exponents stay
# one token, so `1e-5` never shows a minus.
_NUMBER = re.compile(r"\.?[0-9](?:[eEpP][+-]|'[0-9A-Za-z_]|[0-9A-Za-z_.])*")
_IDENT = re.compile(r"[A-Za-z_][A-Za-z0-9_]*")
_SPACE = re.compile(r"[ \t\f\v\r]+")


@dataclass(frozen=True)
class Token:
    kind: str
    text: str
    line: int       # 0-based line of the first character
    col: int        # 0-based column of the first character
    end_line: int   # line of the last character
    end_col: int    # column just past the last character (on end_line)


def tokenize(text):
    """Returns the tokens of a C++ source text, comments and all."""
    tokens = []
    line_starts = [0] + [m.end() for m in re.finditer("\n", text)]

    def position(offset):
        line = bisect.bisect_right(line_starts, offset) - 1
        return line, offset - line_starts[line]

    def add(kind, start, end):
        line, col = position(start)
        end_line, last_col = position(max(start, end - 1))
        tokens.append(Token(kind, text[start:end], line, col, end_line, last_col + 1))

    i, n = 0, len(text)
    at_line_start = True
    while i < n:
        c = text[i]
        if c == "\n":
            i += 1
            at_line_start = True
            continue
        space = _SPACE.match(text, i)
        if space:
            i = space.end()
            continue
        if c == "#" and at_line_start:
            end = _preprocessor_end(text, i)
            add(PREPROC, i, end)
            i = end
            continue
        at_line_start = False
        if text.startswith("//", i):
            end = text.find("\n", i)
            end = n if end < 0 else end
            add(COMMENT, i, end)
            i = end
            continue
        if text.startswith("/*", i):
            end = text.find("*/", i + 2)
            end = n if end < 0 else end + 2
            add(COMMENT, i, end)
            i = end
            continue
        raw = _RAW_STRING_START.match(text, i)
        if raw:
            close = text.find(")" + raw.group(1) + '"', raw.end())
            end = n if close < 0 else close + len(raw.group(1)) + 2
            add(STRING, i, end)
            i = end
            continue
        for kind, pattern in ((STRING, _STRING), (CHAR, _CHAR), (NUMBER, _NUMBER),
                              (IDENT, _IDENT)):
            match = pattern.match(text, i)
            if match:
                add(kind, i, match.end())
                i = match.end()
                break
        else:
            punct = next((p for p in _PUNCTUATORS if text.startswith(p, i)), c)
            add(PUNCT, i, i + len(punct))
            i += len(punct)
    return tokens


def _preprocessor_end(text, start):
    """The end of a directive, following backslash continuations."""
    i = start
    while True:
        end = text.find("\n", i)
        if end < 0:
            return len(text)
        if not text[i:end].rstrip("\r").endswith("\\"):
            return end
        i = end + 1


def code_line_count(tokens):
    """Lines that hold something other than comments: a file's weight."""
    return len({t.line for t in tokens if t.kind != COMMENT})
