#!/usr/bin/env python3
"""Writes the source documents (HTML) that word processors turn into the RTF test files.

The texts are our own; the long document's words come from a fixed seed so that every run
writes the same file."""
import os
import random
import struct
import sys
import zlib


def png(width, height, pixel):
    """A PNG image of width x height whose colours pixel(x, y) gives as (r, g, b)."""
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)
    rows = b"".join(b"\0" + bytes(c for x in range(width) for c in pixel(x, y)) for y in range(height))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))


def chart(x, y):
    """Four bars on white, with a frame."""
    if x in (0, 239) or y in (0, 119):
        return (40, 40, 40)
    for i, top in enumerate((70, 40, 85, 20)):
        if 20 + i * 55 <= x < 60 + i * 55 and y >= top and y < 110:
            return ((200, 60, 60), (60, 140, 60), (60, 90, 200), (220, 170, 40))[i]
    return (255, 255, 255)


PAGE = """<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>{title}</title>
<style>
body {{ font-family: 'Liberation Serif'; font-size: 12pt; }}
h1 {{ font-family: 'Liberation Sans'; font-size: 18pt; }}
h2 {{ font-family: 'Liberation Sans'; font-size: 14pt; }}
table {{ border-collapse: collapse; }}
td, th {{ border: 1px solid black; padding: 2pt 5pt; }}
</style></head>
<body>
{body}
</body></html>
"""

REPORT = """<h1>Quarterly report of the harbour workshop</h1>
<p>This report sums up the work of the third quarter. It was written to be printed: every length in
it, from the indent of a list to the width of the chart, should come out on paper as it was set.</p>
<h2>What we did</h2>
<ul>
<li>Repaired the slipway and the two cranes on the north quay, which took longer than planned
because the parts came late and the weather was against us for most of August.</li>
<li>Painted the hulls of four fishing boats.</li>
<li>Trained two apprentices in welding and rigging; both passed their first examination.</li>
</ul>
<p>The steps of a hull inspection, in order:</p>
<ol>
<li>Lift the boat and wash the hull.</li>
<li>Look for cracks, blisters and loose fittings, and mark each one with chalk so that the next
shift can find it without asking.</li>
<li>Write the findings into the log book.</li>
</ol>
<h2>Figures</h2>
<p>Water is H<sub>2</sub>O, and the hall measures 240 m<sup>2</sup>. The figure that matters most is
<span style="background: yellow">highlighted</span>: the quarter ended with a profit.</p>
<table border="1" cellpadding="4" cellspacing="0">
<tr><th>Month</th><th>Boats</th><th>Hours</th><th>Income</th></tr>
<tr><td>July</td><td>6</td><td>410</td><td>18,200</td></tr>
<tr><td>August</td><td>4</td><td>385</td><td>15,750</td></tr>
<tr><td>September</td><td>9</td><td>520</td><td>24,900</td></tr>
</table>
<p>The chart shows the income of each month and of the quarter before.</p>
<p><img src="chart.png" width="240" height="120" alt="chart"></p>
<h2 style="page-break-before: always">Plans for the next quarter</h2>
<p>The second page begins here, with the plans. We want to build a second slipway, hire one more
welder and finish the apprentices' training before the winter storms make outside work impossible.</p>
<p>Questions about this report go to the workshop office.</p>
"""

LETTER = """<p style="text-align: right">Harbour Workshop<br>North Quay 4<br>Port Ellen</p>
<p style="text-align: right">8 December</p>
<p>Mrs. A. Moreau<br>Fishing Cooperative<br>Market Street 12</p>
<p>Dear Mrs. Moreau,</p>
<p>thank you for your letter of last week. We have looked at the three boats you asked about and
can repair all of them before the end of January. The prices below include the material and the
work; they do not include the painting, which we would quote separately once the hulls are dry.</p>
<p style="margin-left: 1in">Blue Heron: new keel plank, 2,400<br>Marie: engine mounting, 1,150<br>Storm Petrel: rudder and tiller, 860</p>
<p>If you agree, we would take the boats in one after another, starting with the Blue Heron in the
second week of January.</p>
<p>Yours sincerely,</p>
<p>J. Calder<br>Workshop manager</p>
"""

WORDS = ("harbour boat hull keel plank rudder tiller engine mast sail rope anchor chain quay slipway crane "
         "winch tide wind storm weather morning evening worker welder apprentice paint timber steel iron "
         "bolt rivet deck cabin galley compass chart course island shore beach rock wave current").split()


def long_text():
    rng = random.Random(1729)
    parts = []
    for chapter in range(1, 51):
        style = ' style="page-break-before: always"' if chapter > 1 else ""
        parts.append(f"<h1{style}>Chapter {chapter}</h1>")
        for paragraph in range(18):
            sentences = []
            for _ in range(rng.randint(4, 7)):
                words = [rng.choice(WORDS) for _ in range(rng.randint(6, 14))]
                sentences.append(" ".join(words).capitalize() + ".")
            parts.append(f"<p>{chapter}.{paragraph + 1} " + " ".join(sentences) + "</p>")
    return "\n".join(parts)


def main(out):
    os.makedirs(out, exist_ok=True)
    with open(os.path.join(out, "chart.png"), "wb") as f:
        f.write(png(240, 120, chart))
    for name, title, body in (("report", "Quarterly report", REPORT), ("letter", "Letter", LETTER),
                              ("long", "A long text", long_text())):
        with open(os.path.join(out, name + ".html"), "w", encoding="utf-8") as f:
            f.write(PAGE.format(title=title, body=body))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "source"))
