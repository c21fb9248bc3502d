#!/usr/bin/env python3
"""Writes the seed inputs of every fuzz target into fuzz/seeds/<target>/.

Seeds are the project's fixtures in the form each target reads (option bytes in front where
the target takes them) and a few small inputs that lead a target to the paths the fixtures
do not reach: long lines and form feeds, a file that includes itself under other spellings,
rewriting patterns with the restart option. Run it again after adding fixtures; it replaces
the folders it writes.
"""
import pathlib
import shutil

ROOT = pathlib.Path(__file__).resolve().parent.parent
FIXTURES = ROOT / "tests" / "fixtures"
SEEDS = ROOT / "fuzz" / "seeds"


def fixture(name):
    return (FIXTURES / name).read_bytes()


def fixtures(pattern):
    return sorted(FIXTURES.glob(pattern))


def write(target, seeds):
    folder = SEEDS / target
    shutil.rmtree(folder, ignore_errors=True)
    folder.mkdir(parents=True)
    for name, data in seeds.items():
        (folder / name).write_bytes(data)


TEXTS = (fixtures("text/*.txt") + fixtures("rtf/*.txt") + fixtures("policy/*.txt")
         + fixtures("e2e/*.txt") + fixtures("driver/*.txt"))
FORM_FEEDS = b"Page one\n\x0cPage two\x0c\x0cthree\x0c\nend\n"
LONG_LINE = b"word " * 2400 + b"\nshort\n"
SOFT_BREAKS = b"Content-Transfer-Encoding: quoted-printable\n\n" + (
    b"a line long enough to be folded by its mail program at the end =\n" * 4) + b"=E9t=E9\n"
SELF_INCLUDE = (b"Top of the file.\n$_$_INCLUDE input.txt\n$_$_INCLUDE ./input.txt\n"
                b"$_$_INCLUDE INPUT.TXT\n$_$_INCLUDE .\\input.txt\nBottom.\n")

# statement_reader: two option bytes, then the file.
seeds = {}
for path in TEXTS:
    seeds[path.stem + ".plain"] = b"\x00\x08" + path.read_bytes()
for name, options in {"analysis": b"\x80\x08", "raw": b"\x20\x04", "html": b"\x40\x08",
                      "markers": b"\x03\x38", "split": b"\x00\xd2", "mime": b"\x08\x08"}.items():
    seeds["form-feeds." + name] = options + FORM_FEEDS
    seeds["long-line." + name] = options + LONG_LINE
seeds["soft-breaks.mime"] = b"\x08\x08" + SOFT_BREAKS
seeds["pre-tags.html"] = b"\x40\x08<pre>\ncode\n</pre>\ntext\n"
write("statement_reader", seeds)

# policy_file: policy files as they are.
seeds = {path.name: path.read_bytes() for path in fixtures("policy/*.pol")}
seeds["self-include-spellings.pol"] = (
    b"[Policies]\nInclude file: input.pol\nInclude file: ./input.pol\n"
    b"Include file: INPUT.POL\nInclude file: sub/../input.pol\nPage width: 70\n")
seeds["commands.pol"] = fixture("tags/commands-with-comments.txt")
write("policy_file", seeds)

# pattern_scanner: option byte, pattern lines, NUL, text.
def scan(option, patterns, text):
    return bytes([option]) + b"\n".join(patterns) + b"\x00" + text

PROSE = fixture("e2e/handbook.txt")
seeds = {
    "replace": scan(0x00, [b"\x06colour\tcolor", b"\x01*S|n\t "], PROSE),
    "replace-restart": scan(0x06, [b"\x06a\taa", b"\x06%1?1\tN"], b"banana 12 345 " * 20),
    "replacer-drop": scan(0x20, [b"\x03?S", b"\x01**.\t!"], PROSE),
    "callbacks": scan(0x04, [b"\x04%Z?a\tX", b"\x0a?1\t#", b"\x10(**)", b"\x16[**]"],
                      b"Ab (x) [y] 42 Cd " * 30),
    "replacer-callbacks": scan(0xa5, [b"\x05$?Z\t<v>", b"\x0b|*|*", b"\x11AAB"],
                               b"$name **bold** AAAB " * 30),
    "case-sensitive": scan(0x59, [b"\x06The\tA", b"\x02?A\t_"], PROSE),
}
write("pattern_scanner", seeds)

# line_tags: option byte (pass, mode, tags seen, preprocessor off), then lines.
seeds = {}
for path in fixtures("tags/*.txt") + fixtures("rtf/include/*.txt"):
    for name, option in {"output": 0x23, "analysis": 0x21, "contents": 0x22}.items():
        seeds[path.stem + "." + name] = bytes([option]) + path.read_bytes()
seeds["title-mode"] = b"\x39$_$_TITLE [[VERSION]] of [[TEXT a b]]\n[[SUPER x]] [[SUB y]]\n"
seeds["preprocessor-off"] = b"\x63" + fixture("rtf/include/directives.txt")
write("line_tags", seeds)

# command_line: one argument a line.
seeds = {
    "steering": fixture("engine/steering-comments.txt"),
    "qualifiers": b"/LOG=run.log\n/LIST\n/OUTPUT=<out dir/*.rtf>\n/lo\n/OUT=\"a b\n"
                  b"doc.txt\nstyle.pol\n/?\n/TREE\n/SUBFOLDERS\n/nosuch\n",
    "values": b"/CREATE_POLICY=x.pol\n/OUTPUT=\n/LOG=\"unclosed\n<a.txt b.txt>\n/usr/share\n",
}
write("command_line", seeds)

# conversion: text files as they are.
seeds = {path.parent.name + "-" + path.name: path.read_bytes() for path in TEXTS}
for path in (fixtures("tags/*.txt") + fixtures("analysis/*.txt")
             + fixtures("rtf/include/*.txt")):
    seeds[path.parent.name + "-" + path.name] = path.read_bytes()
seeds["self-include-spellings.txt"] = SELF_INCLUDE
seeds["form-feeds.txt"] = FORM_FEEDS
seeds["long-line.txt"] = LONG_LINE
seeds["change-policy.txt"] = (
    b"$_$_CHANGE_POLICY Make Windows Help source file : Yes\n"
    b"$_$_CHANGE_POLICY Page width: 40\nTitle\n=====\n\n1. First\n\nBody text.\n")
write("conversion", seeds)
