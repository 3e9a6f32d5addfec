"""Where a C++ source can be mutated, and how.

A site is one edit of one line. The rules lean on the project's formatting:
binary operators stand between spaces, while template brackets, unary
minus and the like do not, which tells them apart without a parser.
"""

import re
from dataclasses import dataclass

from .lexer import CODE_KINDS, IDENT, NUMBER, PUNCT, STRING, CHAR, code_line_count, tokenize

_FLIPS = {
    "relational": {"<": "<=", "<=": "<", ">": ">=", ">=": ">"},
    "equality": {"==": "!=", "!=": "=="},
    "arithmetic": {"+": "-", "-": "+"},
    "logical": {"&&": "||", "||": "&&"},
}

_KEYWORDS = frozenset("""
    alignas alignof and and_eq asm auto bitand bitor bool break case catch char char8_t
    char16_t char32_t class co_await co_return co_yield compl concept const consteval
    constexpr constinit const_cast continue decltype default delete do double dynamic_cast
    else enum explicit export extern false float for friend goto if inline int long mutable
    namespace new noexcept not not_eq nullptr operator or or_eq private protected public
    register reinterpret_cast requires return short signed sizeof static static_assert
    static_cast struct switch template this thread_local throw true try typedef typeid
    typename union unsigned using virtual void volatile wchar_t while xor xor_eq
""".split())
# Keywords that end an operand, so an operator after them is binary.
_VALUE_KEYWORDS = frozenset(["this", "true", "false", "nullptr"])
# Keywords that may stand before an indexed name without making it a declaration.
_EXPRESSION_LEADERS = frozenset(["return", "case", "throw", "co_return", "else", "do"])
# Calls whose removal changes nothing in an optimised build, or that are not calls.
_NOT_DROPPABLE = frozenset(["assert", "static_assert"])
# Operators binding looser than `+`: an index holding one is parenthesised.
_LOOSER_THAN_PLUS = frozenset([
    "<<", ">>", "<", ">", "<=", ">=", "==", "!=", "&", "^", "|", "&&", "||", "?", ":",
    "=", "+=", "-=", "*=", "/=", "%=", "&=", "|=", "^=", "<<=", ">>=", ",", "<=>",
])
# Names of calls that answer yes or no: IsBlank, has_value, empty, ...
_PREDICATE_CALL = re.compile(
    r"(?:(?:[Ii]s|[Hh]as|[Cc]an|[Ss]hould|[Cc]ontains|[Mm]atches|[Ee]quals?|[Ee]xists|[Ff]its)"
    r"(?:[A-Z_][A-Za-z0-9_]*)?|isfinite|isnan|isinf|starts_with|ends_with|all_of|any_of|none_of"
    r"|empty|good|eof|fail|ok|valid)$")
_INTEGER_ZERO_ONE = re.compile(r"([01])((?:[uU](?:ll|LL|l|L)?|(?:ll|LL|l|L)[uU]?)?)$")
_FLOAT_ZERO_ONE = re.compile(r"([01])(\.0*[fFlL]?)$")

SCOPE, CODE = "scope", "code"


@dataclass(frozen=True)
class Site:
    line: int        # 0-based line
    start: int       # replaced columns [start, end) of that line
    end: int
    operator: str
    replacement: str

    def apply(self, text):
        return text[:self.start] + self.replacement + text[self.end:]


def find_sites(text):
    """Returns (sites in source order, the file's weight in code lines)."""
    tokens = tokenize(text)
    code = [t for t in tokens if t.kind in CODE_KINDS]
    finder = _SiteFinder(code, text.split("\n"))
    sites = sorted(set(finder.sites()), key=lambda s: (s.line, s.start, s.operator, s.end))
    return sites, code_line_count(tokens)


def _is_plain_identifier(token):
    return token.kind == IDENT and token.text not in _KEYWORDS


class _SiteFinder:
    def __init__(self, code, lines):
        self.code = code
        self.lines = lines
        self.match = self._matching_brackets()
        self.block, self.statements = self._blocks_and_statements()

    def sites(self):
        yield from self._operator_sites()
        yield from self._literal_sites()
        yield from self._index_sites()
        yield from self._argument_swap_sites()
        for start, end in self.statements:
            yield from self._statement_sites(start, end)

    # -- structure -----------------------------------------------------------

    def _matching_brackets(self):
        match, stack = {}, []
        pairs = {")": "(", "]": "[", "}": "{"}
        for k, t in enumerate(self.code):
            if t.kind != PUNCT:
                continue
            if t.text in ("(", "[", "{"):
                stack.append(k)
            elif t.text in pairs:
                # An unbalanced file (macros, conditional code) just loses sites.
                while stack and self.code[stack[-1]].text != pairs[t.text]:
                    stack.pop()
                if stack:
                    opened = stack.pop()
                    match[opened], match[k] = k, opened
        return match

    def _blocks_and_statements(self):
        """The innermost block kind at each token, and the statements of code blocks.

        A statement is a (first, last) token range ending in `;` at bracket
        depth 0; labels, `else`, `do` and the heads of if/for/while/switch
        end the previous range so that their bodies are statements too.
        """
        block, statements = [], []
        stack, depths = [SCOPE], []
        depth, start, head_close = 0, 0, None
        for k, t in enumerate(self.code):
            block.append(stack[-1])
            text = t.text if t.kind == PUNCT else None
            if t.kind == IDENT and t.text in ("if", "while", "for", "switch") and k == start:
                opening = next((j for j in (k + 1, k + 2)
                                if j < len(self.code) and self.code[j].text == "("), None)
                head_close = self.match.get(opening)
            if text in ("(", "["):
                depth += 1
            elif text in (")", "]"):
                depth -= 1
                if k == head_close:
                    start = k + 1
            elif text == "{":
                stack.append(self._block_kind(self.code[start:k]))
                depths.append(depth)
                depth, start = 0, k + 1
            elif text == "}":
                if len(stack) > 1:
                    stack.pop()
                    depth = depths.pop()
                start = k + 1
            elif text == ";" and depth == 0:
                if start < k and stack[-1] == CODE:
                    statements.append((start, k))
                start = k + 1
            elif text == ":" and depth == 0 and start < k and self.code[start].text in (
                    "case", "default", "public", "private", "protected"):
                start = k + 1
            elif t.kind == IDENT and t.text in ("else", "do"):
                start = k + 1
        return block, statements

    @staticmethod
    def _block_kind(head):
        texts = [t.text for t in head]
        if "namespace" in texts:
            return SCOPE
        if len(head) == 2 and texts[0] == "extern" and head[1].kind == STRING:
            return SCOPE
        if any(k in texts for k in ("class", "struct", "union", "enum")) and "(" not in texts:
            return SCOPE
        return CODE

    # -- helpers -------------------------------------------------------------

    def _spaced(self, t):
        line = self.lines[t.line]
        before = t.col == 0 or line[t.col - 1].isspace()
        after = t.end_col >= len(line) or line[t.end_col].isspace()
        return before and after

    def _ends_operand(self, k):
        if k < 0:
            return False
        t = self.code[k]
        if t.kind == IDENT:
            return t.text not in _KEYWORDS or t.text in _VALUE_KEYWORDS
        return t.kind in (NUMBER, STRING, CHAR) or t.text in (")", "]")

    def _one_line(self, first, last):
        return self.code[first].line == self.code[last].end_line

    def _site(self, first, last, operator, replacement):
        """A site replacing tokens first..last (inclusive, on one line)."""
        return Site(self.code[first].line, self.code[first].col, self.code[last].end_col,
                    operator, replacement)

    def _source(self, first, last):
        a, b = self.code[first], self.code[last]
        return self.lines[a.line][a.col:b.end_col]

    # -- operator families ---------------------------------------------------

    def _operator_sites(self):
        for k, t in enumerate(self.code):
            if t.kind != PUNCT:
                continue
            for operator, flips in _FLIPS.items():
                if t.text in flips and self._spaced(t) and self._ends_operand(k - 1):
                    if operator == "arithmetic" and self._beside_string(k):
                        continue  # string concatenation: a minus would not compile
                    yield self._site(k, k, operator, flips[t.text])

    def _beside_string(self, k):
        return self.code[k - 1].kind == STRING or (
            k + 1 < len(self.code) and self.code[k + 1].kind == STRING)

    def _literal_sites(self):
        for k, t in enumerate(self.code):
            if t.kind == IDENT and t.text in ("true", "false"):
                yield self._site(k, k, "literal", "false" if t.text == "true" else "true")
            elif t.kind == NUMBER and not self._pure_specifier(k):
                match = _INTEGER_ZERO_ONE.match(t.text) or _FLOAT_ZERO_ONE.match(t.text)
                if match:
                    flipped = "1" if match.group(1) == "0" else "0"
                    yield self._site(k, k, "literal", flipped + match.group(2))

    def _pure_specifier(self, k):
        """The `0` of `virtual ... = 0;` is syntax, not a value."""
        code = self.code
        return (0 < k - 1 and k + 1 < len(code) and code[k - 1].text == "="
                and code[k + 1].text == ";"
                and code[k - 2].text in (")", "const", "override", "noexcept"))

    def _index_sites(self):
        code = self.code
        for k, t in enumerate(code):
            if t.text != "[" or t.kind != PUNCT or k == 0 or k not in self.match:
                continue
            close, before = self.match[k], code[k - 1]
            if (close == k + 1 or code[k + 1].text == "[" or not self._one_line(k, close)
                    or before.line != t.line or before.end_col != t.col):
                continue
            if before.kind == IDENT:
                if before.text in _KEYWORDS:
                    continue
                # `Type name[n]` declares; `return name[n]` does not.
                if k >= 2 and code[k - 2].kind == IDENT and code[k - 2].text not in _EXPRESSION_LEADERS:
                    continue
            elif before.text not in (")", "]"):
                continue
            yield self._site(k + 1, close - 1, "shift-index", self._shifted_index(k + 1, close - 1))

    def _shifted_index(self, first, last):
        code = self.code
        if last - first >= 2 and code[last].text == "1" and code[last - 1].text == "-":
            return self._source(first, last - 2)
        depth, loose = 0, False
        for t in code[first:last + 1]:
            if t.text in ("(", "[", "{"):
                depth += 1
            elif t.text in (")", "]", "}"):
                depth -= 1
            elif depth == 0 and t.kind == PUNCT and t.text in _LOOSER_THAN_PLUS:
                loose = True
        text = self._source(first, last)
        return f"({text}) + 1" if loose else f"{text} + 1"

    def _argument_swap_sites(self):
        code = self.code
        for k, t in enumerate(code[:-1]):
            opening = code[k + 1]
            if (not _is_plain_identifier(t) or opening.text != "(" or opening.line != t.line
                    or opening.col != t.end_col or self.block[k] != CODE
                    or k + 1 not in self.match or not self._one_line(k + 1, self.match[k + 1])):
                continue
            arguments = self._arguments(k + 1, self.match[k + 1])
            for a, b in zip(arguments, arguments[1:]):
                if len(a) != 1 or len(b) != 1:
                    continue
                x, y = code[a[0]], code[b[0]]
                same_kind = (_is_plain_identifier(x) and _is_plain_identifier(y)) or (
                    x.kind == NUMBER and y.kind == NUMBER)
                if same_kind and x.text != y.text:
                    between = self.lines[x.line][x.end_col:y.col]
                    yield self._site(a[0], b[0], "swap-arguments", y.text + between + x.text)

    def _arguments(self, opening, closing):
        """Token index lists of the top-level arguments between two brackets."""
        arguments, current, depth = [], [], 0
        for j in range(opening + 1, closing):
            text = self.code[j].text
            if text in ("(", "[", "{"):
                depth += 1
            elif text in (")", "]", "}"):
                depth -= 1
            if text == "," and depth == 0 and self.code[j].kind == PUNCT:
                arguments.append(current)
                current = []
            else:
                current.append(j)
        if current:
            arguments.append(current)
        return arguments

    # -- statements ----------------------------------------------------------

    def _statement_sites(self, first, last):
        if not self._one_line(first, last):
            return
        head = self.code[first]
        if head.text == "return" and last - first >= 2 and self._looks_boolean(first + 1, last - 1):
            negated = "!(" + self._source(first + 1, last - 1) + ")"
            yield self._site(first + 1, last - 1, "negate-return", negated)
        if self._alone_on_line(first, last) and self._is_call(first, last - 1):
            yield self._site(first, last, "drop-call", ";")

    def _alone_on_line(self, first, last):
        code = self.code
        return ((first == 0 or code[first - 1].end_line < code[first].line)
                and (last + 1 == len(code) or code[last + 1].line > code[last].line))

    def _is_call(self, first, last):
        """Tokens first..last are `name(...)`, `a.b->c(...)` or `ns::f(...)`."""
        code = self.code
        if code[last].text != ")" or self.match.get(last) is None:
            return False
        opening = self.match[last]
        callee = code[first:opening]
        if callee and callee[0].text == "::":
            callee = callee[1:]
        if not callee or len(callee) % 2 == 0 or callee[0].text in _NOT_DROPPABLE:
            return False
        names, separators = callee[0::2], callee[1::2]
        return (all(t.kind == IDENT and (t.text == "this" or t.text not in _KEYWORDS) for t in names)
                and all(s.text in ("::", ".", "->") for s in separators))

    def _looks_boolean(self, first, last):
        code = self.code
        if first == last and code[first].text in ("true", "false"):
            return False  # the literal operator covers these
        depth, comparison = 0, False
        for k in range(first, last + 1):
            t = code[k]
            if t.text in ("(", "[", "{"):
                depth += 1
            elif t.text in (")", "]", "}"):
                depth -= 1
            elif depth == 0 and t.kind == PUNCT:
                if t.text in ("?", "=", ","):
                    return False
                if t.text in ("==", "!=", "&&", "||", "<=", ">=") or (
                        t.text in ("<", ">") and self._spaced(t)):
                    comparison = True
        if comparison or code[first].text == "!":
            return True
        if self._is_call(first, last):
            name = code[self.match[last] - 1]
            return bool(_PREDICATE_CALL.match(name.text))
        return False
