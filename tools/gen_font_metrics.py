#!/usr/bin/env python3
"""Writes src/text/FontMetricData.cpp from published AFM font metrics.

Widths come from the standard-encoding code of each character (the C field), kerning
pairs from the KPX lines. The Times list keeps the non-zero pairs of the Times-Roman
metrics (the older metrics, without accented letters); the Helvetica-Bold list keeps the
pairs whose two characters have a Windows-1252 code, in file order, duplicates included.

Run once and commit the output, so the build needs no font package:
  tools/gen_font_metrics.py --times-dir DIR --helvetica-bold-kern FILE > src/text/FontMetricData.cpp
DIR holds ptmr8a.afm, ptmb8a.afm, ptmri8a.afm, ptmbi8a.afm and phvb8a.afm (Debian:
python-matplotlib-data, /usr/share/matplotlib/mpl-data/fonts/afm). FILE is a Helvetica-Bold
AFM with accented-letter kerning (Debian: libpdfbox2-java, org/apache/pdfbox/resources/afm/).
"""
import argparse
import re
import sys
import unicodedata

# Record order is the index readers choose by.
RECORDS = [
    ("Times Roman", "ptmr8a.afm", "kTimesPairs", True),
    ("Times Roman-Bold", "ptmb8a.afm", "kTimesPairs", True),
    ("Times Roman-Italic", "ptmri8a.afm", "kTimesPairs", True),
    ("Times Roman-BoldItalic", "ptmbi8a.afm", "kTimesPairs", True),
    ("Helvetica-Bold", "phvb8a.afm", "kHelveticaBoldPairs", False),
]

# Standard-encoding codes of the glyphs in the Times kerning list, except that the dotless i
# is stored at 254, where the program has always looked for it.
TIMES_KERN_CODE_OVERRIDES = {"dotlessi": 254}

# Glyph names of Windows-1252 that Unicode character names do not give directly.
CP1252_NAMED = {
    "space": 32, "exclam": 33, "quotedbl": 34, "numbersign": 35, "dollar": 36, "percent": 37,
    "ampersand": 38, "quotesingle": 39, "parenleft": 40, "parenright": 41, "asterisk": 42,
    "plus": 43, "comma": 44, "hyphen": 45, "period": 46, "slash": 47, "zero": 48, "one": 49,
    "two": 50, "three": 51, "four": 52, "five": 53, "six": 54, "seven": 55, "eight": 56,
    "nine": 57, "colon": 58, "semicolon": 59, "less": 60, "equal": 61, "greater": 62,
    "question": 63, "at": 64, "bracketleft": 91, "backslash": 92, "bracketright": 93,
    "asciicircum": 94, "underscore": 95, "grave": 96, "braceleft": 123, "bar": 124,
    "braceright": 125, "asciitilde": 126, "Euro": 128, "quotesinglbase": 130, "florin": 131,
    "quotedblbase": 132, "ellipsis": 133, "dagger": 134, "daggerdbl": 135, "circumflex": 136,
    "perthousand": 137, "Scaron": 138, "guilsinglleft": 139, "OE": 140, "Zcaron": 142,
    "quoteleft": 145, "quoteright": 146, "quotedblleft": 147, "quotedblright": 148,
    "bullet": 149, "endash": 150, "emdash": 151, "tilde": 152, "trademark": 153,
    "scaron": 154, "guilsinglright": 155, "oe": 156, "zcaron": 158, "Ydieresis": 159,
    "exclamdown": 161, "cent": 162, "sterling": 163, "currency": 164, "yen": 165,
    "brokenbar": 166, "section": 167, "dieresis": 168, "copyright": 169, "ordfeminine": 170,
    "guillemotleft": 171, "logicalnot": 172, "registered": 174, "macron": 175, "degree": 176,
    "plusminus": 177, "twosuperior": 178, "threesuperior": 179, "acute": 180, "mu": 181,
    "paragraph": 182, "periodcentered": 183, "cedilla": 184, "onesuperior": 185,
    "ordmasculine": 186, "guillemotright": 187, "onequarter": 188, "onehalf": 189,
    "threequarters": 190, "questiondown": 191, "AE": 198, "Eth": 208, "multiply": 215,
    "Oslash": 216, "Thorn": 222, "germandbls": 223, "ae": 230, "eth": 240, "divide": 247,
    "oslash": 248, "thorn": 254, "ydieresis": 255,
}

ACCENT_NAMES = {
    "GRAVE": "grave", "ACUTE": "acute", "CIRCUMFLEX": "circumflex", "TILDE": "tilde",
    "DIAERESIS": "dieresis", "RING ABOVE": "ring", "CEDILLA": "cedilla",
}


def cp1252_glyph_codes():
    codes = dict(CP1252_NAMED)
    for c in range(65, 91):
        codes[chr(c)] = c
        codes[chr(c + 32)] = c + 32
    for code in range(192, 256):
        name = unicodedata.name(bytes([code]).decode("cp1252"))
        m = re.match(r"LATIN (CAPITAL|SMALL) LETTER (\w) WITH (.*)$", name)
        if not m or m.group(3) not in ACCENT_NAMES:
            continue
        letter = m.group(2) if m.group(1) == "CAPITAL" else m.group(2).lower()
        codes[letter + ACCENT_NAMES[m.group(3)]] = code
    return codes


def read_afm(path):
    widths, codes, pairs = {}, {}, []
    with open(path, encoding="latin-1") as f:
        for line in f:
            m = re.match(r"C (-?\d+) ; WX (\d+) ; N (\S+)", line)
            if m:
                code = int(m.group(1))
                if code >= 0:
                    widths[code] = int(m.group(2))
                    codes[m.group(3)] = code
                continue
            if line.startswith("KPX "):
                _, first, second, value = line.split()
                pairs.append((first, second, int(value)))
    return widths, codes, pairs


def emit_pairs(out, name, pairs):
    out.write(f"constexpr KerningRow {name}[] = {{\n")
    for first, second, value in pairs:
        out.write(f"    {{{first}, {second}, {value}}},\n")
    out.write("};\n\n")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--times-dir", default="/usr/share/matplotlib/mpl-data/fonts/afm")
    parser.add_argument("--helvetica-bold-kern", required=True)
    args = parser.parse_args()

    records = []
    times_pairs = None
    for name, afm, pairs_name, scaled in RECORDS:
        widths, codes, pairs = read_afm(f"{args.times_dir}/{afm}")
        records.append((name, widths, pairs_name, scaled))
        if afm == "ptmr8a.afm":
            codes = dict(codes, **TIMES_KERN_CODE_OVERRIDES)
            times_pairs = [(codes[a], codes[b], v) for a, b, v in pairs if v != 0]

    cp1252 = cp1252_glyph_codes()
    _, _, hb_raw = read_afm(args.helvetica_bold_kern)
    hb_pairs = [(cp1252[a], cp1252[b], v) for a, b, v in hb_raw if a in cp1252 and b in cp1252]

    out = sys.stdout
    out.write("// Generated by tools/gen_font_metrics.py from published AFM font metrics; do not edit.\n")
    out.write("#include \"text/FontMetricTable.h\"\n\n")
    out.write("namespace {\n\n")
    emit_pairs(out, "kTimesPairs", times_pairs)
    emit_pairs(out, "kHelveticaBoldPairs", hb_pairs)
    for index, (name, widths, _, _) in enumerate(records):
        out.write(f"// {name}: advance widths in thousandths of an em, by byte code.\n")
        out.write(f"constexpr int kWidths{index}[256] = {{\n")
        row = [widths.get(code, 0) for code in range(256)]
        for start in range(0, 256, 16):
            out.write("    " + ", ".join(str(w) for w in row[start:start + 16]) + ",\n")
        out.write("};\n\n")
    out.write("constexpr FontMetricSource kSources[] = {\n")
    for index, (name, _, pairs_name, scaled) in enumerate(records):
        out.write(f"    {{\"{name}\", kWidths{index}, {pairs_name}, {'true' if scaled else 'false'}}},\n")
    out.write("};\n\n")
    out.write("}  // namespace\n\n")
    out.write("std::span<const FontMetricSource> FontMetricSources() { return kSources; }\n")
    print(f"times pairs {len(times_pairs)}, helvetica-bold pairs {len(hb_pairs)}", file=sys.stderr)


if __name__ == "__main__":
    main()
