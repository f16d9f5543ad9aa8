#!/usr/bin/env python3
"""Writes the demo program's sample content into a folder.

    python3 make_demo_data.py OUTDIR

OUTDIR receives:
  fish.sqlite       table fish: Id, Category, Common_Name, Species_Name, Length_Cm, Length_In,
                    Notes, Graphic (a PNG picture of the fish, drawn here)
  customers.sqlite  table customers: Id, First_Name, Last_Name, Phone, Fax
  Vellaro.rtf       a short document about the library, for the rich text page
  products.tsv      rows for the string grid, first row "Product" / "Description"
  listview.tsv      items for the list view: name, size, type, modified, icon index
  icon16_N.png, icon32_N.png   the list view's five icons (N = 0..4) in two sizes

Only the standard library is used, and nothing depends on the clock or on chance: every run
writes the same bytes, so the build can regenerate the files without changing them.
Each file is written under a temporary name and then renamed, so an interrupted run never
leaves a half-written file behind.
"""

import math
import os
import re
import sqlite3
import struct
import sys
import zlib

# --------------------------------------------------------------------------------------------
# PNG writing and a tiny scan-line rasteriser
# --------------------------------------------------------------------------------------------


def png_bytes(width, height, rows, channels):
    """Encodes rows of 8-bit RGB (channels 3) or RGBA (channels 4) pixels as a PNG file."""

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    colour_type = 2 if channels == 3 else 6
    header = struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0)
    raw = b"".join(b"\x00" + bytes(row) for row in rows)  # filter type 0 on every row
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def rgb(value, alpha=None):
    """0xRRGGBB as a pixel tuple, with an alpha byte when asked for."""
    pixel = ((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF)
    return pixel if alpha is None else pixel + (alpha,)


def mix(a, b, t):
    """The colour a fraction t of the way from a to b (both 0xRRGGBB)."""
    channels = [round(((a >> s) & 0xFF) * (1 - t) + ((b >> s) & 0xFF) * t) for s in (16, 8, 0)]
    return (channels[0] << 16) | (channels[1] << 8) | channels[2]


class Ellipse:
    """An axis-aligned ellipse; also serves as a clip shape."""

    def __init__(self, cx, cy, rx, ry):
        self.cx, self.cy, self.rx, self.ry = cx, cy, rx, ry

    def rows(self):
        return range(math.floor(self.cy - self.ry), math.ceil(self.cy + self.ry) + 1)

    def extent(self, y):
        """The span [left, right) covered on pixel row y (sampled at the row's centre), or None."""
        dy = (y + 0.5 - self.cy) / self.ry
        if abs(dy) >= 1:
            return None
        half = self.rx * math.sqrt(1 - dy * dy)
        return self.cx - half, self.cx + half


class Canvas:
    """Rows of pixels that shapes are filled into, one horizontal span at a time."""

    def __init__(self, width, height, background):
        self.width, self.height, self.channels = width, height, len(background)
        self.rows = [bytearray(bytes(background) * width) for _ in range(height)]

    def span(self, y, left, right, pixel, clip=None):
        """Fills the pixels of row y whose centres lie in [left, right), inside clip if given."""
        if not 0 <= y < self.height:
            return
        if clip is not None:
            limits = clip.extent(y)
            if limits is None:
                return
            left, right = max(left, limits[0]), min(right, limits[1])
        x0 = max(0, math.ceil(left - 0.5))
        x1 = min(self.width, math.ceil(right - 0.5))
        if x1 > x0:
            c = self.channels
            self.rows[y][x0 * c:x1 * c] = bytes(pixel) * (x1 - x0)

    def ellipse(self, shape, pixel, clip=None):
        for y in shape.rows():
            limits = shape.extent(y)
            if limits is not None:
                self.span(y, limits[0], limits[1], pixel, clip)

    def rect(self, left, top, right, bottom, pixel, clip=None):
        for y in range(max(0, math.ceil(top - 0.5)), min(self.height, math.ceil(bottom - 0.5))):
            self.span(y, left, right, pixel, clip)

    def framed_rect(self, left, top, right, bottom, line, frame, fill):
        self.rect(left, top, right, bottom, frame)
        self.rect(left + line, top + line, right - line, bottom - line, fill)

    def polygon(self, points, pixel, clip=None):
        """Even-odd scan-line fill of a closed polygon."""
        ys = [p[1] for p in points]
        edges = list(zip(points, points[1:] + points[:1]))
        for y in range(max(0, math.floor(min(ys))), min(self.height, math.ceil(max(ys)) + 1)):
            yc = y + 0.5
            crossings = sorted(x0 + (yc - y0) * (x1 - x0) / (y1 - y0)
                               for (x0, y0), (x1, y1) in edges if (y0 <= yc < y1) or (y1 <= yc < y0))
            for left, right in zip(crossings[0::2], crossings[1::2]):
                self.span(y, left, right, pixel, clip)

    def png(self):
        return png_bytes(self.width, self.height, self.rows, self.channels)


# --------------------------------------------------------------------------------------------
# The fish
# --------------------------------------------------------------------------------------------

PICTURE_WIDTH, PICTURE_HEIGHT = 240, 160

# Body half-width, body half-height, fin height, tail length, in pixels.
SHAPES = {
    "long": (84, 24, 14, 30),
    "oval": (68, 34, 18, 32),
    "tall": (48, 42, 34, 26),
    "disc": (56, 50, 12, 22),
    "veil": (56, 30, 34, 44),
    "flat": (80, 40, 8, 20),
    "mola": (52, 48, 26, 8),
}

# Water at the top, water at the bottom, ground.
HABITATS = {
    "reef": (0x9FE0EE, 0x2F8FB8, 0xE6D29E),
    "fresh": (0xBEDCA4, 0x4F8A5A, 0x8A7A5A),
    "sea": (0x86B4DA, 0x1F4F88, 0xC8B98A),
}

# Category, common name, species name, length in cm, notes,
# look: (habitat, shape, body, fins, pattern colour, pattern, belly or None for a paler body).
FISH = [
    ("Damselfish", "Clown Anemonefish", "Amphiprion ocellaris", 11,
     "An orange fish with three white bands edged in black, it lives among the tentacles of large "
     "sea anemones in warm lagoons of the Indian and western Pacific Oceans. A coat of mucus keeps "
     "the anemone from stinging it, and in return the fish chases off animals that would eat its "
     "host. Every group is led by one large female; when she dies, the biggest male changes sex and "
     "takes her place. It is one of the few sea fish bred in large numbers for home aquariums.",
     ("reef", "oval", 0xF47A20, 0xE0600C, 0xFFFFFF, "bands", None)),
    ("Surgeonfish", "Blue Tang", "Paracanthurus hepatus", 30,
     "A royal blue fish with a black mark shaped like a painter's palette and a bright yellow tail. "
     "Like all surgeonfish it carries a sharp, blade-like spine on each side of the tail stalk, "
     "which it raises when threatened. Young fish shelter in branching corals and wedge themselves "
     "between the branches at the first sign of danger. Adults graze on algae and plankton over "
     "reefs of the Indo-Pacific.",
     ("reef", "oval", 0x1F5FD0, 0xF5D020, 0x101830, "line", 0x5A8AE0)),
    ("Surgeonfish", "Yellow Tang", "Zebrasoma flavescens", 20,
     "A flat, almost round fish of an even lemon yellow, with a pointed snout made for picking algae "
     "from rock and coral. Most of those kept in aquariums come from the reefs around Hawaii, where "
     "large schools graze the shallows by day. At night the bright colour fades and a pale band "
     "appears along the side. It needs plenty of room to swim and a steady supply of plant food.",
     ("reef", "disc", 0xF8E030, 0xF0C818, 0xF8E030, "plain", None)),
    ("Dragonet", "Mandarin Dragonet", "Synchiropus splendidus", 6,
     "One of the most colourful fish of the reef, with wavy orange and blue lines over a green body. "
     "It has no scales; a thick, bad-tasting slime protects it from predators instead. It shuffles "
     "slowly over rubble and sand, picking tiny crustaceans from the bottom all day long. Pairs rise "
     "together above the reef at dusk to spawn.",
     ("reef", "oval", 0x2A7AC0, 0xF08030, 0xF08A28, "stripes", 0x3AA07A)),
    ("Angelfish", "Emperor Angelfish", "Pomacanthus imperator", 40,
     "Adults wear slanting yellow and blue stripes, a dark mask across the eyes and a bright yellow "
     "tail, while the young are dark blue with white rings and look like another species altogether. "
     "It feeds mainly on sponges and other soft animals growing on the reef. A strong spine on the "
     "gill cover sets angelfish apart from the similar butterflyfish. When alarmed it can make a low "
     "knocking sound.",
     ("reef", "tall", 0x2050B0, 0xF8D830, 0xF8E060, "stripes", None)),
    ("Moorish Idol", "Moorish Idol", "Zanclus cornutus", 23,
     "Easily known by its broad black and white bands, a touch of yellow and a long, trailing white "
     "fin that curves back over the body. It is the only member of its family and roams reefs from "
     "East Africa to the coast of Mexico. It eats mostly sponges, which makes it hard to keep in "
     "captivity. It is often seen in pairs or small groups near the edge of the reef.",
     ("reef", "tall", 0xF0F0E8, 0xF6D84A, 0x1A1A1A, "bars", None)),
    ("Scorpionfish", "Red Lionfish", "Pterois volitans", 38,
     "A fish of red, brown and white bands with long, feathery fins that fan out like a mane. The "
     "spines of its back fins carry a venom that makes a sting very painful, though seldom dangerous "
     "to people. It hunts small fish at dusk, herding them into a corner with its spread fins before "
     "swallowing them whole. Released into the western Atlantic, it has spread along the coasts of "
     "the Americas and is now a pest there.",
     ("reef", "veil", 0xC84A30, 0xF0D8C8, 0xFAF0E8, "bars", None)),
    ("Basslet", "Royal Gramma", "Gramma loreto", 8,
     "The front half of this small fish is a vivid purple and the back half golden yellow, the two "
     "colours meeting in a soft blend. It lives in caves and under ledges of Caribbean reefs, often "
     "swimming upside down along the ceiling. The male builds a nest of algae in a crevice and "
     "guards the eggs. Peaceful and hardy, it is a favourite of reef aquarium keepers.",
     ("reef", "oval", 0x8A3AC8, 0xF2C020, 0xF2C020, "rear", None)),
    ("Butterflyfish", "Copperband Butterflyfish", "Chelmon rostratus", 20,
     "A white fish with copper-orange bands and a long, narrow snout that reaches into cracks for "
     "small worms and shrimp. A false eye spot near the tail is thought to confuse predators about "
     "which way the fish will flee. It lives on coastal reefs and in estuaries of the western "
     "Pacific and eastern Indian Ocean. Keepers value it because it eats the small pest anemones "
     "that spread through many aquariums.",
     ("reef", "tall", 0xF4F2EA, 0xE89040, 0xE08A30, "bands", None)),
    ("Blenny", "Bicolor Blenny", "Ecsenius bicolor", 11,
     "The head and front of the body are dark blue or brown and the rear half orange, although some "
     "fish are a single colour. It makes its home in an empty worm tube or a hole in the rock and "
     "peers out with only its head showing. Small fringed tentacles above the eyes give it a "
     "whiskered look. It grazes on algae and is quick to dart back into its hole.",
     ("reef", "long", 0x283A8A, 0xF08A2A, 0xF08A2A, "rear", None)),
    ("Tetra", "Neon Tetra", "Paracheirodon innesi", 3.5,
     "A tiny schooling fish from the blackwater streams of the upper Amazon, with a shining "
     "blue-green line along each side and a red stripe below it. The blue line catches the light so "
     "well that a school seems to glow in dim water. It is peaceful and lives for several years in "
     "soft, slightly acid water. Millions are bred on fish farms every year for the aquarium trade.",
     ("fresh", "long", 0xB8B0C0, 0xD8D0D8, 0x20C8E8, "line", 0xD83838)),
    ("Tetra", "Cardinal Tetra", "Paracheirodon axelrodi", 5,
     "Much like the neon tetra, but the red colour runs the full length of the belly. It comes from "
     "the Rio Negro and Orinoco basins, where most of the fish sold are still caught in the wild by "
     "local fishermen. It feels safest in a large group among plants and roots. Its colours fade at "
     "night and return in the morning.",
     ("fresh", "long", 0x3A3A6A, 0xC8C0D0, 0x28D0F0, "line", 0xE02828)),
    ("Livebearer", "Guppy", "Poecilia reticulata", 5,
     "Native to the streams of north-eastern South America and nearby islands, the guppy now lives "
     "in warm fresh water on every continent but Antarctica. Females are larger and plainer; males "
     "are small and carry fan-shaped tails in almost any colour. The female gives birth to live "
     "young, often every month, which has made it a classic first fish for beginners. It has also "
     "been used to keep mosquito larvae in check.",
     ("fresh", "veil", 0xB8C0A8, 0xF05A90, 0x3070E0, "spots", None)),
    ("Cyprinid", "Zebra Danio", "Danio rerio", 4.5,
     "A slender, lively fish with dark blue stripes along a silver-gold body, from the rivers and "
     "rice fields of South Asia. Besides being a popular aquarium fish, it is one of the most "
     "studied animals in biology, because its eggs are clear and its embryos grow quickly. It is "
     "hardy, copes with a wide range of temperatures and swims near the surface in busy schools.",
     ("fresh", "long", 0xE8D8A0, 0xE8E0C0, 0x2A3A9A, "stripes", None)),
    ("Gourami", "Siamese Fighting Fish", "Betta splendens", 7,
     "Wild fish are short-finned and dull, but generations of breeding have given it long flowing "
     "fins in red, blue, violet and white. Males are so hostile to each other that they must be "
     "kept apart. Like other gouramis it breathes air from the surface through a special organ, "
     "which lets it live in warm, still water poor in oxygen. The male blows a nest of bubbles and "
     "guards the eggs and the young.",
     ("fresh", "veil", 0xC02040, 0x8A1A8A, 0xC02040, "plain", None)),
    ("Cichlid", "Freshwater Angelfish", "Pterophyllum scalare", 15,
     "A tall, flat fish with long triangular fins, silver with dark vertical bars, from the slow "
     "rivers of the Amazon basin. Its shape lets it slip between reeds and hang quietly among roots. "
     "Pairs clean a flat leaf or stone, lay their eggs on it and guard them closely. Breeders have "
     "produced many forms, from black to marbled and gold.",
     ("fresh", "tall", 0xD8D8D0, 0xC8C8C0, 0x303030, "bars", None)),
    ("Cichlid", "Discus", "Symphysodon aequifasciatus", 20,
     "Round as a plate and flattened from side to side, it lives in quiet, warm backwaters of the "
     "Amazon. The parents feed their young for the first weeks on a milky slime from their own "
     "skin. It needs clean, soft water and calm company, and so is thought of as a fish for "
     "experienced keepers. Wild fish are brown and blue; bred forms come in turquoise, red and many "
     "patterns.",
     ("fresh", "disc", 0x8A4A2A, 0x6A3A2A, 0x40B0C0, "stripes", None)),
    ("Catfish", "Bronze Corydoras", "Corydoras aeneus", 7,
     "A small armoured catfish covered in bony plates instead of scales, with a bronze-green sheen "
     "on its sides. It roots in sand with short whiskers, searching for food the other fish leave "
     "behind. Now and then it darts to the surface to gulp air, which it can take up through its "
     "gut. It is peaceful, likes the company of its own kind and is found across much of South "
     "America.",
     ("fresh", "oval", 0x9A8A5A, 0xC8B890, 0x3A6A5A, "line", None)),
    ("Gourami", "Pearl Gourami", "Trichopodus leerii", 12,
     "Its body is covered in small pearly spots over a brownish silver ground, with a dark line "
     "running from the snout to the tail. In the breeding season the male's throat and chest turn a "
     "deep orange-red. It comes from swamps and slow rivers of Thailand, Malaysia and Indonesia. "
     "Long thread-like fins under the body work as feelers.",
     ("fresh", "oval", 0x9A8A7A, 0xB8A898, 0xF4F0E8, "spots", 0xE06A30)),
    ("Cyprinid", "Harlequin Rasbora", "Trigonostigma heteromorpha", 4.5,
     "A small copper-pink fish marked with a black wedge on the rear half of the body. It lives in "
     "peat swamps and forest streams of South-East Asia, where the water is soft and the colour of "
     "tea. Pairs lay their eggs on the underside of broad leaves, swimming upside down to do it. It "
     "does best in a school of ten or more.",
     ("fresh", "oval", 0xE8A090, 0xE89070, 0x202020, "wedge", None)),
    ("Loach", "Clown Loach", "Chromobotia macracanthus", 30,
     "Orange with three broad black bands, this bottom-dwelling fish comes from the rivers of Borneo "
     "and Sumatra. It grows slowly but can reach thirty centimetres and live for decades. Loaches "
     "make clicking sounds and like to rest lying on their side, which often frightens new owners. "
     "A spine below each eye can be raised for defence.",
     ("fresh", "long", 0xF08A20, 0xE04A20, 0x181818, "bands", None)),
    ("Cod", "Atlantic Cod", "Gadus morhua", 100,
     "A heavy-bodied fish of the cold North Atlantic, greenish brown with darker spots above, a pale "
     "belly and a single whisker on the chin. For centuries it fed much of Europe, salted or dried, "
     "and fleets sailed across the ocean to fish its banks. Overfishing in the last century brought "
     "several stocks close to collapse. It feeds on other fish, crabs and worms near the sea floor.",
     ("sea", "long", 0x8A7A4A, 0x7A6A40, 0x4A3A20, "spots", 0xE8E0D0)),
    ("Mackerel", "Atlantic Mackerel", "Scomber scombrus", 35,
     "A fast, streamlined swimmer with wavy dark bars over a blue-green back and a silver belly. It "
     "travels in large schools along both sides of the North Atlantic, moving inshore in summer and "
     "into deeper water in winter. It has no swim bladder, so it must keep moving to avoid sinking. "
     "Rich in oil, it is eaten fresh, smoked and canned.",
     ("sea", "long", 0x2A7A8A, 0x4A6A7A, 0x102A3A, "bars", 0xD8E0E8)),
    ("Flatfish", "European Plaice", "Pleuronectes platessa", 45,
     "A flatfish that lies on its left side on sandy ground, with both eyes on the brown upper side "
     "and bright orange spots scattered over it. The young start life swimming upright like other "
     "fish, then one eye moves across the head and they settle on the sea floor. It buries itself in "
     "sand by day and feeds on shellfish and worms at night. It is one of the most important food "
     "fish of the North Sea.",
     ("sea", "flat", 0x8A6A4A, 0x7A5A3A, 0xF07A20, "spots", None)),
    ("Herring", "Atlantic Herring", "Clupea harengus", 30,
     "A silvery schooling fish with a blue-green back that feeds on plankton in the open sea. Its "
     "schools can hold millions of fish and stretch for kilometres. The herring trade shaped the "
     "history of many ports around the North Sea and the Baltic. It is eaten pickled, smoked, salted "
     "and fried.",
     ("sea", "long", 0x3A6A9A, 0x8AA0B0, 0x3A6A9A, "plain", 0xE0E8F0)),
    ("Tuna", "Yellowfin Tuna", "Thunnus albacares", 150,
     "A powerful ocean traveller with a dark blue back, a yellow stripe along the side and long "
     "yellow fins. It lives in warm seas around the world and swims at great speed over long "
     "distances. Like other tunas it keeps its muscles warmer than the water around it. Schools "
     "often travel with dolphins, and it is a highly prized food fish.",
     ("sea", "long", 0x1A3A7A, 0xF8D020, 0xF8D020, "line", 0xD8DCE8)),
    ("Sunfish", "Ocean Sunfish", "Mola mola", 180,
     "The heaviest bony fish known, it can weigh more than a small car, yet it lives mostly on "
     "jellyfish. Its body looks as if it had been cut off behind the tall back and belly fins, which "
     "it flaps to swim. It often lies on its side at the surface, which may help it warm up after "
     "dives into cold, deep water. A single female can carry hundreds of millions of eggs.",
     ("sea", "mola", 0x9AA4AC, 0x7A848C, 0x9AA4AC, "plain", None)),
    ("Salmon", "Atlantic Salmon", "Salmo salar", 75,
     "Born in clear rivers of Europe and north-eastern North America, it goes to sea to feed and "
     "grow, then returns to the river of its birth to spawn. On the way upstream it leaps waterfalls "
     "and weirs. Silver at sea, it darkens and takes on a reddish tinge while it waits in fresh "
     "water. Most salmon sold today are raised in sea farms.",
     ("sea", "long", 0x8A9AA8, 0x6A7A88, 0x2A2A3A, "spots", 0xEAE6E0)),
]


def draw_scene(canvas, habitat, index):
    """Water shading into the depth, a wavy bottom and a few bubbles."""
    top, bottom, ground = HABITATS[habitat]
    width, height = canvas.width, canvas.height
    for y in range(height):
        canvas.span(y, 0, width, rgb(mix(top, bottom, y / (height - 1))))
    # The bottom's edge rises and falls in a zigzag whose phase differs per picture.
    edge = [(x, height - 14 - ((x // 20 + index) % 3) * 2) for x in range(0, width + 20, 20)]
    canvas.polygon(edge + [(width, height), (0, height)], rgb(ground))
    for k in range(3):
        x = 200 + (index * 7 + k * 11) % 26
        canvas.ellipse(Ellipse(x, 40 - k * 13, 2 + k, 2 + k), rgb(mix(top, 0xFFFFFF, 0.6)))


def draw_pattern(canvas, pattern, body, colour):
    """The body's markings, clipped to the body."""
    cx, cy, rx, ry = body.cx, body.cy, body.rx, body.ry
    pixel, edge = rgb(colour), rgb(mix(colour, 0x000000, 0.7))
    if pattern == "bands":
        for x in (cx - rx * 0.55, cx, cx + rx * 0.48):
            canvas.rect(x - rx * 0.09, 0, x + rx * 0.09, canvas.height, edge, body)
            canvas.rect(x - rx * 0.06, 0, x + rx * 0.06, canvas.height, pixel, body)
    elif pattern == "bars":
        for k in range(4):
            x = cx - rx * 0.6 + k * rx * 0.36
            canvas.rect(x - rx * 0.05, 0, x + rx * 0.05, canvas.height, pixel, body)
    elif pattern == "line":
        canvas.rect(cx - rx * 0.85, cy - ry * 0.35, cx + rx * 0.5, cy - ry * 0.08, pixel, body)
    elif pattern == "stripes":
        for k in range(3):
            y = cy - ry * 0.55 + k * ry * 0.45
            canvas.rect(0, y, canvas.width, y + max(2, ry * 0.12), pixel, body)
    elif pattern == "spots":
        radius = max(2, ry * 0.09)
        for row in range(5):
            for col in range(9):
                x = cx - rx + (col + 0.5 + (row % 2) * 0.5) * rx * 0.22
                y = cy - ry + (row + 0.6) * ry * 0.36
                canvas.ellipse(Ellipse(x, y, radius, radius), pixel, body)
    elif pattern == "rear":
        canvas.rect(0, 0, cx - rx * 0.1, canvas.height, pixel, body)
    elif pattern == "wedge":
        canvas.polygon([(cx - rx * 0.05, cy - ry * 0.5), (cx - rx * 0.05, cy + ry * 0.6),
                        (cx - rx * 0.75, cy)], pixel, body)


def draw_fish(look, index):
    """A stylised fish facing right, in the colours of its record; returns PNG bytes."""
    habitat, shape, body_colour, fin_colour, pattern_colour, pattern, belly_colour = look
    rx, ry, fin, tail = SHAPES[shape]
    cx, cy = 130, 76
    canvas = Canvas(PICTURE_WIDTH, PICTURE_HEIGHT, rgb(0))
    draw_scene(canvas, habitat, index)

    fins, outline = rgb(fin_colour), rgb(mix(body_colour, 0x000000, 0.55))
    tail_base, tail_end = cx - rx * 0.85, cx - rx - tail
    spread = max(tail, ry * 0.8)
    canvas.polygon([(tail_base, cy - ry * 0.25), (tail_end, cy - spread), (tail_end + tail * 0.35, cy),
                    (tail_end, cy + spread), (tail_base, cy + ry * 0.25)], fins)
    canvas.polygon([(cx - rx * 0.55, cy - ry * 0.6), (cx - rx * 0.2, cy - ry - fin),
                    (cx + rx * 0.3, cy - ry * 0.8)], fins)
    canvas.polygon([(cx - rx * 0.5, cy + ry * 0.6), (cx - rx * 0.25, cy + ry + fin * 0.8),
                    (cx + rx * 0.1, cy + ry * 0.8)], fins)

    body = Ellipse(cx, cy, rx, ry)
    canvas.ellipse(Ellipse(cx, cy, rx + 2, ry + 2), outline)
    canvas.ellipse(body, rgb(body_colour))
    belly = belly_colour if belly_colour is not None else mix(body_colour, 0xFFFFFF, 0.35)
    canvas.ellipse(Ellipse(cx + rx * 0.05, cy + ry * 0.55, rx * 0.8, ry * 0.5), rgb(belly), body)
    draw_pattern(canvas, pattern, body, pattern_colour)

    # The pectoral fin sweeps back from behind the gill.
    canvas.polygon([(cx + rx * 0.32, cy), (cx + rx * 0.32, cy + ry * 0.22), (cx - rx * 0.08, cy + ry * 0.4),
                    (cx + rx * 0.05, cy + ry * 0.08)], rgb(mix(fin_colour, 0x000000, 0.15)))
    eye = max(4.0, ry * 0.2)
    ex, ey = cx + rx * 0.62, cy - ry * 0.22
    canvas.ellipse(Ellipse(ex, ey, eye, eye), rgb(0xFFFFFF))
    canvas.ellipse(Ellipse(ex + eye * 0.2, ey, eye * 0.55, eye * 0.55), rgb(0x101010))
    canvas.rect(ex + eye * 0.1, ey - eye * 0.5, ex + eye * 0.1 + 2, ey - eye * 0.5 + 2, rgb(0xFFFFFF))
    canvas.rect(cx + rx - 9, cy + ry * 0.12, cx + rx - 2, cy + ry * 0.12 + 2, outline)
    return canvas.png()


# --------------------------------------------------------------------------------------------
# The list view's icons: folder, text document, picture, table, archive
# --------------------------------------------------------------------------------------------

ICON_COUNT = 5


def draw_icon(kind, size):
    """One icon on a transparent ground, laid out on a 16-unit grid scaled to size."""
    u = size / 16
    line = max(1, size // 16)
    canvas = Canvas(size, size, (0, 0, 0, 0))

    def box(left, top, right, bottom, frame, fill):
        canvas.framed_rect(left * u, top * u, right * u, bottom * u, line, rgb(frame, 255), rgb(fill, 255))

    if kind == 0:  # folder
        box(1, 2, 7, 5, 0x9A7A18, 0xE8B838)
        box(1, 4, 15, 14, 0x9A7A18, 0xF2C94C)
    elif kind == 1:  # text document
        box(3, 1, 13, 15, 0x607080, 0xFFFFFF)
        for y in (4, 6, 8, 10, 12):
            canvas.rect(5 * u, y * u, (11 if y < 12 else 9) * u, y * u + line, rgb(0x4A78C8, 255))
    elif kind == 2:  # picture
        box(1, 2, 15, 14, 0x3A4A5A, 0x9FD3F5)
        canvas.polygon([(2 * u, 13 * u), (6 * u, 7 * u), (9 * u, 11 * u), (11 * u, 9 * u), (14 * u, 13 * u)],
                       rgb(0x3E9A48, 255))
        canvas.ellipse(Ellipse(11 * u, 5.5 * u, 1.7 * u, 1.7 * u), rgb(0xFFC828, 255))
    elif kind == 3:  # table
        box(1, 2, 15, 14, 0x2E7D32, 0xFFFFFF)
        canvas.rect(1 * u + line, 2 * u + line, 15 * u - line, 5 * u, rgb(0x66BB6A, 255))
        for x in (6, 10):
            canvas.rect(x * u, 2 * u, x * u + line, 14 * u, rgb(0x2E7D32, 255))
        for y in (5, 8, 11):
            canvas.rect(1 * u, y * u, 15 * u, y * u + line, rgb(0x2E7D32, 255))
    else:  # archive
        box(2, 5, 14, 14, 0x6D4C2F, 0xB8875A)
        box(1, 2, 15, 6, 0x6D4C2F, 0xA0714A)
        canvas.rect(7 * u, 6 * u, 9 * u, 14 * u - line, rgb(0xE8D8B0, 255))
        box(6, 7, 10, 10, 0x6D4C2F, 0xD8C080)
    return canvas.png()


# --------------------------------------------------------------------------------------------
# The customers
# --------------------------------------------------------------------------------------------

FIRST_NAMES = [
    "Ada", "Bruno", "Carla", "Dmitri", "Elena", "Farid", "Greta", "Hugo", "Ines", "Jonas",
    "Keiko", "Lars", "Marta", "Nils", "Olga", "Pavel", "Quinn", "Rosa", "Samir", "Tess",
    "Ulla", "Victor", "Wanda", "Xavier", "Yara", "Zeno", "Amira", "Bastian", "Cecile", "Dario",
]
LAST_NAMES = [
    "Abbott", "Brennan", "Castillo", "Dalby", "Eklund", "Fairweather", "Gallo", "Hartley",
    "Ivanova", "Jansen", "Kowalski", "Lindqvist", "Moreau", "Novak", "Okafor", "Pellegrini",
    "Quade", "Rasmussen", "Sato", "Thornbury", "Ueda", "Varga", "Whitcombe", "Xu", "Yilmaz",
    "Zimmer", "Ashdown", "Brightwell", "Coppola", "Dunmore",
]
AREA_CODES = ["206", "303", "312", "415", "503", "617", "702", "808"]
CUSTOMER_COUNT = 60


def customers():
    """(first, last, phone, fax) rows; numbers lie in the 555-01xx range kept for fiction."""
    rows = []
    for i in range(CUSTOMER_COUNT):
        first = FIRST_NAMES[i % len(FIRST_NAMES)]
        # Stepping the last name by 7, plus one on the second pass, keeps every pair distinct.
        last = LAST_NAMES[(i * 7 + i // len(FIRST_NAMES)) % len(LAST_NAMES)]
        area = AREA_CODES[i % len(AREA_CODES)]
        phone = f"({area}) 555-01{i:02d}"
        fax = f"({area}) 555-01{(i + 40) % 100:02d}"
        rows.append((first, last, phone, fax))
    return rows


# --------------------------------------------------------------------------------------------
# The tables of the string grid and the list view
# --------------------------------------------------------------------------------------------

PRODUCTS = [
    ("Product", "Description"),
    ("Copy paper A4", "Bright white, 80 g/m², ream of 500 sheets"),
    ("Photo paper 10 x 15", "Glossy, 240 g/m², pack of 100"),
    ("Address labels", "24 labels a sheet, for envelopes and shelves"),
    ("Black toner", "About 3,000 pages at five percent cover"),
    ("Colour ink set", "Cyan, magenta and yellow in one box"),
    ("Envelopes C5", "Self-sealing, with a window on the left"),
    ("Binding combs", "Plastic, 10 mm, hold up to 90 sheets"),
    ("Laminating pouches", "A4, 125 micron, pack of 100"),
    ("Index cards", "Ruled, 125 x 75 mm, in five colours"),
    ("Presentation folders", "Card with two inner pockets"),
    ("Receipt rolls", "Thermal paper, 80 mm wide, box of 20"),
    ("Poster paper A2", "Matte and heavy, for wall charts and plans"),
]

LIST_ITEMS = [
    ("Name", "Size", "Type", "Modified", "Icon"),
    ("Annual report", "6 files", "Folder", "2026-01-12", 0),
    ("Photos from the fair", "48 files", "Folder", "2026-03-28", 0),
    ("Invoices", "212 files", "Folder", "2026-06-30", 0),
    ("Meeting minutes.txt", "18 KB", "Text document", "2026-02-03", 1),
    ("Price list.txt", "9 KB", "Text document", "2026-04-17", 1),
    ("Letter to suppliers.txt", "4 KB", "Text document", "2026-05-09", 1),
    ("Harbour at dawn.png", "2.4 MB", "Picture", "2025-11-21", 2),
    ("Shop front.jpg", "1.1 MB", "Picture", "2026-03-02", 2),
    ("Logo draft.png", "86 KB", "Picture", "2026-05-27", 2),
    ("Stock levels.csv", "142 KB", "Table", "2026-07-01", 3),
    ("Opening hours.csv", "2 KB", "Table", "2026-01-05", 3),
    ("Customer list.csv", "57 KB", "Table", "2026-06-12", 3),
    ("Backup 2025.zip", "412 MB", "Archive", "2026-01-02", 4),
    ("Old letters.zip", "38 MB", "Archive", "2025-09-14", 4),
    ("Fonts.zip", "7.6 MB", "Archive", "2025-12-08", 4),
]


def tsv(rows):
    return "".join("\t".join(str(cell) for cell in row) + "\n" for row in rows).encode("utf-8")


# --------------------------------------------------------------------------------------------
# The document
# --------------------------------------------------------------------------------------------
# Paragraphs are written as plain text with a little markup of our own, turned into RTF groups:
# **bold**, *italic*, __underlined__, [red]coloured[/], `fixed width`.

RTF_HEADER = (
    r"{\rtf1\ansi\ansicpg1252\deff0\uc1"
    r"{\fonttbl{\f0\fswiss\fcharset0 Arial;}{\f1\froman\fcharset0 Times New Roman;}"
    r"{\f2\fmodern\fcharset0 Courier New;}}"
    r"{\colortbl;\red0\green0\blue0;\red176\green32\blue32;\red24\green88\blue160;"
    r"\red32\green128\blue64;\red112\green112\blue112;}"
    "\n"
)
RTF_COLOURS = {"red": 2, "blue": 3, "green": 4, "grey": 5}

DOCUMENT = [
    ("title", "Vellaro"),
    ("subtitle", "Printing with a preview, from the first page to the last"),
    ("heading", "What Vellaro does"),
    ("body", "Vellaro is a library for programs that print. A program describes what belongs on a "
             "page, and Vellaro takes care of the rest: it measures the page, lays the content out in "
             "the units the program chose, shows the result in a **preview** that looks the way the "
             "paper will look, and finally sends the pages to a printer or writes them to a PDF file. "
             "The same drawing code serves the screen and the printer, so what the user sees before "
             "printing is what comes out of the tray."),
    ("body", "This document is itself an example. It is shown by the rich text page of the "
             "demonstration program and printed by the rich text print job, which breaks it into "
             "pages and keeps to the margins. Try turning the pages in the preview, zoom in on a "
             "paragraph, or print it to a PDF file and compare the two."),
    ("heading", "Print jobs and page areas"),
    ("body", "Every printout starts with a *print job*. A job knows how many pages it has, how each "
             "page is divided, and what to draw in each part. A page has up to three areas: a "
             "**header** at the top, the **page area** in the middle and a **footer** at the bottom. "
             "All three sit inside the margins, which can be given in inches, millimetres, percents "
             "of the page or device pixels. Because the job converts every length itself, a ruler "
             "drawn one hundred millimetres long is one hundred millimetres long on paper, whatever "
             "the resolution of the printer."),
    ("body", "The areas are switched on and off with the job's options. A simple letter might use "
             "the margins alone, while a report uses all three: the header for the title, the page "
             "area for the body and the footer for the page number. The program draws each area in "
             "an event; the job tells it which page it is drawing and which rectangle it may use."),
    ("body", "Vellaro comes with ready-made jobs for the things programs print most often:"),
    ("bullet", "__Grid jobs__, which print tables of text or pictures with borders, a header row and "
               "an index column."),
    ("bullet", "__String grid and list view jobs__, which print the contents of those controls as the "
               "user arranged them, column widths included."),
    ("bullet", "__The database grid job__, which walks through a data set and prints one row per "
               "record."),
    ("bullet", "__The strings job__, which prints plain lines of text, with or without word wrap."),
    ("bullet", "__The rich text job__, which prints formatted documents such as this one."),
    ("bullet", "__The multi job__, which prints several jobs one after another as a single run, and "
               "__the draft job__, which shrinks the pages of another job so that several fit on one "
               "sheet."),
    ("heading", "The preview"),
    ("body", "The preview pane shows the pages of a job exactly as they will be printed. It can show "
             "one page or several side by side, fit the page to the width or the height of the "
             "window, or zoom to any scale from a thumbnail to a close look at a single word. The "
             "toolbar offers the usual buttons — first, previous, next and last page, zoom, print "
             "and printer setup — and a status bar tells the user which page is shown and how many "
             "there are."),
    ("body", "When a program changes the content of a job, it asks the job to update, and the "
             "preview draws the new pages. A program that changes many settings at once locks the "
             "job first, so that the preview is redrawn only once, after the last change. A preview "
             "window can show the same job in a window of its own, with its own toolbar, while the "
             "main window keeps working."),
    ("centre", "[blue]This line is centred on the page.[/]"),
    ("right", "[green]This line keeps to the right margin.[/]"),
    ("left", "And this one returns to the left, where most text belongs."),
    ("heading", "Units and accuracy"),
    ("body", "Screens and printers count in pixels, but people measure paper in inches and "
             "millimetres. Vellaro keeps the two apart. A job holds its margins, header and footer "
             "sizes in the units the program chose, and converts them to device pixels only when it "
             "draws, using the resolution of the device it is drawing on. The preview uses the "
             "resolution of the screen and the scale of the zoom; the printer uses its own. "
             "Horizontal and vertical lengths are converted separately, because some printers do not "
             "have the same resolution in both directions."),
    ("body", "Percents are measured against the size of the paper, which makes them useful for "
             "layouts that should look the same on large and small sheets. Pixels are there for the "
             "rare case where a program really does want to count device dots, for instance to draw "
             "the thinnest possible line."),
    ("heading", "Formatting that survives printing"),
    ("body", "Rich text brings its fonts, sizes and colours with it. **Bold**, *italic* and "
             "__underlined__ words keep their style on paper, and [red]coloured text[/] stays "
             "coloured on a colour printer and turns into a shade of grey on a black-and-white one. "
             "Tabs line up columns, paragraphs can be indented, and special characters such as the "
             "euro sign in a price of 12 €, the multiplication sign in 3 × 3, or a long dash are "
             "carried through unchanged."),
    ("table", "**Paper\tSize\tOrientation**"),
    ("table", "A4\t210 × 297 mm\tPortrait"),
    ("table", "Letter\t8.5 × 11 in\tPortrait"),
    ("table", "A5 booklet\t148 × 210 mm\tLandscape"),
    ("heading", "Printing a run"),
    ("body", "Printing runs page by page. Before the first page the job asks the printer for its "
             "resolution and paper size, so that every conversion is exact; during the run the "
             "program is told which page is being printed, and it can stop the run at any time. When "
             "the output goes to a PDF file such as `out/report.pdf`, the text on the pages is kept "
             "as text, so the file can be searched and copied from."),
    ("heading", "Many jobs, one run"),
    ("body", "Some printouts are made of several parts: a cover page, a table, a chart and a closing "
             "letter. The multi job prints a list of other jobs in order, numbers the pages through "
             "the whole run and shows them in the preview as if they were one document. The list can "
             "be edited while the program runs, in a small dialog where jobs are added, removed and "
             "moved up or down. The draft job does the opposite: it takes one job and fits two, four "
             "or more of its pages onto a single sheet, with thin separator lines if wanted. It is "
             "handy for proof-reading a long report without using a ream of paper."),
    ("heading", "A few tips"),
    ("numbered", "Give lengths in the units your users think in; inches and millimetres both "
                 "convert exactly."),
    ("numbered", "Keep drawing code free of assumptions about the device: ask the job for sizes "
                 "instead of guessing them."),
    ("numbered", "Use the preview while you develop. A layout that looks right at every zoom level "
                 "will print right."),
    ("numbered", "Lock the job while you change several settings, and unlock it in every case, even "
                 "when something fails."),
    ("right", "*Written by the Vellaro team*"),
    ("note", "[grey]This document is part of the Vellaro demonstration program and may be printed "
             "freely.[/]"),
]

PARAGRAPH_STYLES = {
    "title": r"\pard\qc\sa120\f0\fs48\b\cf3 ",
    "subtitle": r"\pard\qc\sa360\f0\fs28\i ",
    "heading": r"\pard\keepn\sb240\sa120\f0\fs32\b ",
    "body": r"\pard\qj\sa160\f1\fs24 ",
    "bullet": r"\pard\li720\fi-360\sa80\f1\fs24 \u8226\'95\tab ",
    "numbered": r"\pard\li720\fi-360\sa80\f1\fs24 ",
    "centre": r"\pard\qc\sa160\f1\fs24 ",
    "right": r"\pard\qr\sa160\f1\fs24 ",
    "left": r"\pard\ql\sa160\f1\fs24 ",
    "table": r"\pard\tx2880\tx5760\f1\fs24 ",
    "note": r"\pard\qc\sb480\f0\fs18 ",
}


def rtf_escape(text):
    """Plain text as RTF: the three special characters escaped, anything beyond ASCII as \\uN
    with a code-page fallback for readers that do not know Unicode."""
    out = []
    for ch in text:
        if ch in "\\{}":
            out.append("\\" + ch)
        elif ch == "\t":
            out.append(r"\tab ")
        elif ord(ch) < 128:
            out.append(ch)
        else:
            try:
                fallback = r"\'%02x" % ch.encode("cp1252")[0]
            except UnicodeEncodeError:
                fallback = "?"
            out.append(r"\u%d%s" % (ord(ch), fallback))
    return "".join(out)


def rtf_inline(text):
    """Our markup inside a paragraph as RTF groups."""
    text = rtf_escape(text)
    text = re.sub(r"\*\*(.+?)\*\*", r"{\\b \1}", text)
    text = re.sub(r"\*(.+?)\*", r"{\\i \1}", text)
    text = re.sub(r"__(.+?)__", r"{\\ul \1}", text)
    text = re.sub(r"`(.+?)`", r"{\\f2 \1}", text)
    return re.sub(r"\[(\w+)\](.+?)\[/\]", lambda m: "{\\cf%d %s}" % (RTF_COLOURS[m.group(1)], m.group(2)),
                  text)


def rtf_document():
    parts, number = [RTF_HEADER], 0
    for style, text in DOCUMENT:
        prefix = PARAGRAPH_STYLES[style]
        if style == "numbered":
            number += 1
            prefix += "%d.\\tab " % number
        # Each paragraph is a group, so its character formatting ends with it.
        parts.append("{" + prefix + rtf_inline(text) + "\\par}\n")
    parts.append("}\n")
    return "".join(parts).encode("ascii")


# --------------------------------------------------------------------------------------------
# Writing the files
# --------------------------------------------------------------------------------------------


def write_file(path, data):
    temporary = path + ".tmp"
    with open(temporary, "wb") as f:
        f.write(data)
    os.replace(temporary, path)


def write_database(path, create, insert, rows):
    temporary = path + ".tmp"
    if os.path.exists(temporary):
        os.remove(temporary)
    connection = sqlite3.connect(temporary)
    try:
        with connection:  # one transaction
            connection.execute(create)
            connection.executemany(insert, rows)
    finally:
        connection.close()
    os.replace(temporary, path)


def fish_rows():
    for number, (category, common, species, cm, notes, look) in enumerate(FISH, start=1):
        yield (number, category, common, species, float(cm), round(cm / 2.54, 2), notes,
               draw_fish(look, number))


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: make_demo_data.py OUTDIR\n")
        return 2
    outdir = argv[1]
    os.makedirs(outdir, exist_ok=True)
    write_database(
        os.path.join(outdir, "fish.sqlite"),
        "CREATE TABLE fish (Id INTEGER PRIMARY KEY, Category TEXT NOT NULL, Common_Name TEXT NOT NULL, "
        "Species_Name TEXT NOT NULL, Length_Cm REAL NOT NULL, Length_In REAL NOT NULL, "
        "Notes TEXT NOT NULL, Graphic BLOB NOT NULL)",
        "INSERT INTO fish VALUES (?, ?, ?, ?, ?, ?, ?, ?)", fish_rows())
    write_database(
        os.path.join(outdir, "customers.sqlite"),
        "CREATE TABLE customers (Id INTEGER PRIMARY KEY, First_Name TEXT NOT NULL, "
        "Last_Name TEXT NOT NULL, Phone TEXT NOT NULL, Fax TEXT NOT NULL)",
        "INSERT INTO customers VALUES (?, ?, ?, ?, ?)",
        [(number,) + row for number, row in enumerate(customers(), start=1)])
    write_file(os.path.join(outdir, "Vellaro.rtf"), rtf_document())
    write_file(os.path.join(outdir, "products.tsv"), tsv(PRODUCTS))
    write_file(os.path.join(outdir, "listview.tsv"), tsv(LIST_ITEMS))
    for kind in range(ICON_COUNT):
        for size in (16, 32):
            write_file(os.path.join(outdir, "icon%d_%d.png" % (size, kind)), draw_icon(kind, size))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
