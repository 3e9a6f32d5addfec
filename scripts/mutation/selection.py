"""Which mutants a run makes: a seeded sample, or the mutants of an earlier run.

A mutant names its line by number and by text, so that a later tree, where
lines have moved, still gets exactly the same edits.
"""

import random
from dataclasses import asdict, dataclass, replace
from pathlib import Path

from .sites import find_sites

SOURCE_SUFFIXES = (".cpp", ".cc", ".cxx", ".c", ".h", ".hpp", ".hh", ".hxx")


@dataclass(frozen=True)
class Mutant:
    id: int
    file: str       # relative to the project root, with forward slashes
    line: int       # 1-based
    column: int     # 1-based
    operator: str
    original: str   # the whole line before and after the edit
    mutated: str

    def as_dict(self):
        return asdict(self)


class SourceError(Exception):
    pass


def decode_source(data):
    # surrogateescape keeps any stray byte, so writing back changes only the mutated line.
    return data.decode("utf-8", "surrogateescape")


def read_source(path):
    return decode_source(path.read_bytes())


def encode_source(text):
    return text.encode("utf-8", "surrogateescape")


def collect_sources(root, arguments):
    """The source files named by arguments (files or folders), relative to root, sorted."""
    found = set()
    for argument in arguments:
        path = Path(argument).resolve()
        if not path.exists():
            raise SourceError(f"{argument}: no such file or folder")
        try:
            path.relative_to(root)
        except ValueError:
            raise SourceError(f"{argument}: outside the project {root}") from None
        if path.is_file():
            found.add(path)
            continue
        for file in path.rglob("*"):
            inside = file.relative_to(root).parts
            # Build trees and hidden folders hold copies and generated code.
            if any(p.startswith((".", "build")) for p in inside[:-1]):
                continue
            if file.suffix in SOURCE_SUFFIXES and file.is_file():
                found.add(file)
    if not found:
        raise SourceError("no C or C++ sources in " + " ".join(arguments))
    return sorted(f.relative_to(root).as_posix() for f in found)


def sample(texts, seed, count):
    """count mutants drawn with the generator seeded by seed.

    texts maps file names to their text. A file's chance at each draw is its
    share of the code lines; the site within it is then drawn uniformly from
    the sites not yet taken.
    """
    rng = random.Random(seed)
    pools, weights = {}, {}
    for name in sorted(texts):
        sites, weight = find_sites(texts[name])
        if sites and weight:
            pools[name], weights[name] = list(sites), weight
    drawn = []
    while len(drawn) < count and pools:
        names = sorted(pools)
        point = rng.random() * sum(weights[n] for n in names)
        chosen = names[-1]
        for name in names:
            point -= weights[name]
            if point < 0:
                chosen = name
                break
        pool = pools[chosen]
        drawn.append((chosen, pool.pop(int(rng.random() * len(pool)))))
        if not pool:
            del pools[chosen]
    drawn.sort(key=lambda d: (d[0], d[1].line, d[1].start, d[1].operator, d[1].end))
    mutants = []
    for number, (name, site) in enumerate(drawn, start=1):
        line = texts[name].split("\n")[site.line]
        mutants.append(Mutant(number, name, site.line + 1, site.start + 1, site.operator,
                              line, site.apply(line)))
    return mutants


def relocate(mutant, texts):
    """The mutant moved to where its line is now, or None when it is gone.

    The line is looked for at its number, then anywhere in its file, then
    in the other files of texts (code moved elsewhere); the nearest match to
    the old line number wins. Indentation may have changed.
    """
    wanted = mutant.original.strip()
    own = texts.get(mutant.file)
    if own is not None:
        lines = own.split("\n")
        index = mutant.line - 1
        if index < len(lines) and lines[index].strip() == wanted:
            return _moved(mutant, mutant.file, index, lines[index])
        found = _nearest(lines, wanted, index)
        if found is not None:
            return _moved(mutant, mutant.file, found, lines[found])
    for name in sorted(texts):
        if name == mutant.file:
            continue
        lines = texts[name].split("\n")
        found = _nearest(lines, wanted, mutant.line - 1)
        if found is not None:
            return _moved(mutant, name, found, lines[found])
    return None


def _nearest(lines, wanted, index):
    matches = [i for i, line in enumerate(lines) if line.strip() == wanted]
    return min(matches, key=lambda i: (abs(i - index), i)) if matches else None


def _moved(mutant, file, index, line):
    old_indent = len(mutant.original) - len(mutant.original.lstrip())
    new_indent = len(line) - len(line.lstrip())
    trailing = line[len(line.rstrip()):]
    mutated = line[:new_indent] + mutant.mutated.strip() + trailing
    return replace(mutant, file=file, line=index + 1,
                   column=mutant.column - old_indent + new_indent, original=line, mutated=mutated)


def apply(text, mutant):
    """text with the mutant's line replaced, or None if that line is not what it expects."""
    lines = text.split("\n")
    index = mutant.line - 1
    if index >= len(lines) or lines[index] != mutant.original:
        return None
    lines[index] = mutant.mutated
    return "\n".join(lines)
