#!/usr/bin/env python3
"""Writes the checked-in seed inputs of the fuzz harnesses.

Each seed is a readable recipe in the byte encoding of fuzz/fuzz_input.h:
a byte, a little-endian word, 32/64-bit words, an index as a word offset
from the low end of its range, and a text as a length byte (255: a word
with the length follows) and its bytes. Run it from anywhere; it rewrites
fuzz/corpus/<harness>/<seed>.
"""
import os
import struct

CORPUS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")


class Seed:
    def __init__(self):
        self.data = bytearray()

    def byte(self, v):
        self.data.append(v & 0xFF)
        return self

    def word(self, v):
        self.data += struct.pack("<H", v & 0xFFFF)
        return self

    def bits32(self, v):
        self.data += struct.pack("<I", v & 0xFFFFFFFF)
        return self

    def int32(self, v):
        self.data += struct.pack("<i", v)
        return self

    def index(self, value, low):
        return self.word(value - low)

    def float(self, v):
        self.data += struct.pack("<f", v)
        return self

    def float_bits(self, bits):
        return self.bits32(bits)

    def double(self, v):
        self.data += struct.pack("<d", v)
        return self

    def text(self, t):
        b = t.encode("latin-1") if isinstance(t, str) else bytes(t)
        if len(b) < 255:
            self.byte(len(b))
        else:
            self.byte(255).word(len(b))
        self.data += b
        return self


EVERY_BYTE = bytes(range(1, 256))
seeds = {}


def seed(harness, name):
    s = Seed()
    seeds[(harness, name)] = s
    return s


# --- xstring_edit ------------------------------------------------------------
# Ops: 0 construct, 1 construct from two arguments, 3 assign, 4
# self-assignment, 5 +=, 8 operator+ (an argument, then a char), 9 Sub, 10
# Delete, 11 Insert, 12/13 Replace(All), 14 Trim, 15 Find, 16 ReverseFind,
# 17 comparisons, 18 Empty, 19 [], 20 a search case that the harness draws
# from a 32-bit seed. Positions are decoded over [low - 2, high + 2] (search
# starts also take the words 0xfffe and 0xffff as INT_MIN and INT_MAX),
# arguments start with a selector byte (2: null; other even: a text follows;
# odd: an offset into the string's own text).
EDIT = "xstring_edit"


def construct(s, text):
    return s.byte(0).text(text)


def arg(s, text):
    return s.byte(0).text(text)


def own(s, offset):
    return s.byte(1).index(offset, 0)


def null(s):
    return s.byte(2)


def replace(s, start, what, with_, every=True):
    """Replace (every=False) or ReplaceAll from `start` with literal texts."""
    s.byte(13 if every else 12).byte(int(every)).index(start, -2)
    arg(s, what)
    arg(s, with_)


s = seed(EDIT, "every_byte")
construct(s, EVERY_BYTE)
s.byte(9).index(254, -2).index(0, -2)        # Sub(0, 254)
s.byte(9).index(255, -2).index(100, -2)      # Sub(100, 255): up to the zero
s.byte(15).index(0, -2)
arg(s, bytes([200, 201, 202]))               # Find
s.byte(16).index(255, -2)
arg(s, bytes([1, 2]))                        # ReverseFind from Length()
s.byte(10).index(200, -3).index(10, -2)      # Delete(10, 200)
s.byte(14)                                   # Trim keeps the inner bytes

s = seed(EDIT, "find_blind_spots")
construct(s, "aabababc")
for start, pattern in [(0, "ab"), (0, "abc"), (1, "ab"), (0, "aab"), (-1, "a"),
                       (9, "c"), (0, "")]:
    s.byte(15).index(start, -2)
    arg(s, pattern)
for start, pattern in [(7, "bc"), (8, "bc"), (2, "ab"), (10, "c"), (0, "aa"),
                       (-1, "a"), (3, "")]:
    s.byte(16).index(start, -2)
    arg(s, pattern)

s = seed(EDIT, "replace_all_slashes")
construct(s, "a/b//c\\\\\\d")
replace(s, 0, "/", "\\")
replace(s, 0, "\\\\", "\\")

# The replacement contains the pattern: the next search starts after the
# inserted copy, so the call ends.
s = seed(EDIT, "replace_all_with_contains_what")
construct(s, "aaaa")
replace(s, 0, "a", "ab")
replace(s, 1, "b", "bbb")
replace(s, 0, "ab", "aabb")

s = seed(EDIT, "replace_all_shortening")
construct(s, "xabbaaaa")
replace(s, 0, "ab", "a")
replace(s, 0, "aa", "b")
replace(s, 0, "aab", "zz", every=False)

# Matches that begin inside the copy just inserted and run on into the old
# text, over long texts of one repeated unit.
s = seed(EDIT, "replace_all_straddling")
construct(s, "abb")
replace(s, 0, "ab", "xa")
construct(s, "ab" * 150 + "b")
replace(s, 0, "abab", "xaba")
construct(s, "x" * 100 + "\\" * 40 + "x" + "\\" * 3)
replace(s, 0, "\\\\", "\\")

# Arguments that point into the string's own text.
s = seed(EDIT, "own_text_arguments")
construct(s, "abcdef")
s.byte(11).index(2, -2)
own(s, 3)                                    # Insert(2, own + 3)
s.byte(5)
own(s, 0)                                    # s += own text
s.byte(3)
own(s, 2)                                    # s = own + 2
s.byte(12).byte(0).index(0, -2)
own(s, 4)
own(s, 1)                                    # Replace(own + 4, own + 1)
s.byte(13).byte(1).index(0, -2)
own(s, 10)
own(s, 0)                                    # ReplaceAll, with own text
s.byte(6).byte(0)                            # s += s
s.byte(8)
own(s, 1)
s.byte(0)                                    # operator+ with own text, '\0'

s = seed(EDIT, "ranges_and_edges")
construct(s, "abcdef")
for frm, to in [(1, 3), (0, 5), (2, 1), (3, 6), (6, 6), (-1, 2), (4, 8)]:
    s.byte(9).index(to, -2).index(frm, -2)
for frm, to in [(5, 5), (2, 1), (-1, 0), (4, 9)]:
    s.byte(10).index(to, -3).index(frm, -2)
for pos in [0, 1, 3, 9, -1]:
    s.byte(11).index(pos, -2)
    arg(s, "XY")
construct(s, "  \t a b \x7f\x80\xe9")
s.byte(14)
construct(s, " ")
s.byte(14)
s.byte(18)
s.byte(14)
s.byte(7).byte(ord("q"))
s.byte(17)
arg(s, "q")
s.byte(19).index(1, 0)

# Null arguments read as the empty text.
s = seed(EDIT, "null_arguments")
construct(s, "abcb")
null(s.byte(1)).byte(0).text("cd")           # XString(null, "cd")
null(s.byte(1).byte(0).text("cd"))           # XString("cd", null)
null(s.byte(5))                              # += null: a new buffer
null(s.byte(8)).byte(ord("x"))               # + null
null(s.byte(11).index(1, -2))                # Insert(1, null)
for every in (False, True):
    arg(null(s.byte(13 if every else 12).byte(int(every)).index(0, -2)), "x")
    null(arg(s.byte(13 if every else 12).byte(int(every)).index(0, -2), "b"))
null(s.byte(15).index(0, -2))
null(s.byte(16).index(2, -2))
null(s.byte(17))
null(s.byte(3))                              # = null
null(s.byte(3))                              # again: the buffer is kept
null(s.byte(17))

# Every comparison with each type, by the bytes as unsigned values.
s = seed(EDIT, "comparisons")
for text, others in [("ab", ["ab", "ac", "aa", "a", "abc", "", "B", "\xe9"]),
                     ("B", ["a", "B"]), ("z", ["\xe9"]), ("", ["", "a"]),
                     ("ab\xe9", ["ab", "ab\xe9", "ab\x7f"])]:
    construct(s, text)
    for other in others:
        arg(s.byte(17), other)
    own(s.byte(17), 0)
    own(s.byte(17), 1)
    null(s.byte(17))
    s.byte(4)                                # self-assignment

# Concatenation with each type, a char (the zero one too) on either side.
s = seed(EDIT, "concatenation")
construct(s, "cd")
arg(s.byte(8), "ab").byte(0)
own(s.byte(8), 1).byte(ord("x"))
null(s.byte(8)).byte(0xE9)
s.byte(6).byte(0)                            # s += s
s.byte(6).byte(1).text("ef")                 # s += XString("ef")
s.byte(7).byte(ord("g"))                     # s += 'g'

# Search starts at the int limits.
s = seed(EDIT, "int_limit_starts")
construct(s, "abcabc")
for limit in (0xFFFE, 0xFFFF):
    arg(s.byte(15).word(limit), "bc")
    arg(s.byte(16).word(limit), "bc")
    arg(arg(s.byte(12).byte(0).word(limit), "bc"), "X")
    arg(arg(s.byte(13).byte(1).word(limit), "bc"), "X")

# Search cases that the harness draws, from consecutive seeds.
DRAWN_PER_FILE = 1600
for n in range(8):
    s = seed(EDIT, "drawn_search_cases_%d" % n)
    for i in range(DRAWN_PER_FILE):
        s.byte(20).bits32(n * DRAWN_PER_FILE + i)

# --- xstring_format ----------------------------------------------------------
# Per call: flags (bit 0: the format is the target's own text), the format,
# then one argument per conversion: 32-bit for %i %d %x %X %c, 64-bit double
# for %g %f, and for %s a selector (0 null, odd own text + offset, else a
# text follows).
FORMAT = "xstring_format"


def fmt(s, format_text, *args, own_format=False):
    s.byte(1 if own_format else 0).text(format_text)
    for kind, value in args:
        if kind == "i":
            s.int32(value)
        elif kind == "d":
            s.double(value)
        elif kind == "s":
            s.byte(2).text(value)
        elif kind == "null":
            s.byte(0)
        elif kind == "own":
            s.byte(1).index(value, 0)
    return s


# A conversion whose '%' stands at 1023 is completed with its letter at 1024;
# from 1024 on nothing is scanned, so no argument is taken.
for position in range(1018, 1030):
    s = seed(FORMAT, "percent_at_%d" % position)
    scanned = position <= 1023
    fmt(s, "x" * position + "%d" + "y" * 40, *[("i", 42)] * scanned)
    fmt(s, "x" * position + "%s" + "y" * 40, *[("s", "s" * 30)] * scanned)
    fmt(s, "x" * position + "%")
    fmt(s, "x" * position + "%%" + "z" * 10)

s = seed(FORMAT, "long_s_2000")
fmt(s, "%s", ("s", "L" * 2000))
fmt(s, "[%s|%d|%s]", ("s", "M" * 2000), ("i", -7), ("s", "N" * 1500))
fmt(s, "%f", ("d", 1e300))
fmt(s, "x" * 900 + "%f%g", ("d", -1e300), ("d", 1e-300))

s = seed(FORMAT, "conversions")
fmt(s, "%d %g %d", ("i", 1), ("d", 2.5), ("i", 3))
fmt(s, "%i %x %X %c", ("i", -7), ("i", -1), ("i", 255), ("i", 0x141))
fmt(s, "a%cb", ("i", 0))
fmt(s, "100%% 50%5d%ld%u%e%p%")
fmt(s, "%g %f %g", ("d", 0.5), ("d", 0.5), ("d", float("nan")))
fmt(s, "%s", ("null", None))
fmt(s, "")
fmt(s, "%D%S%G%F%I%C")
s.byte(2).text("%d")                         # a null format

s = seed(FORMAT, "own_text")
fmt(s, "ab")
fmt(s, "%s%s", ("own", 0), ("own", 0))
fmt(s, "a%%b", own_format=True)
fmt(s, "%s\\%s", ("s", "c:/lib/"), ("s", "a.dll"))

s = seed(FORMAT, "format_over_1024")
fmt(s, "".join(chr(33 + i % 90) for i in range(1500)))
fmt(s, "%c" * 600, *[("i", 65 + i) for i in range(5)])

# --- xstring_convert ---------------------------------------------------------
# Ops: 0 Tokenize (text, delimiters, zeros appended), 1 SplitPath (path,
# present-mask, self slot + 1), 2 GetValue (text), 3 GetFromUnicode (count,
# words, old text).
CONVERT = "xstring_convert"

s = seed(CONVERT, "tokenize_every_byte_delimiter")
s.byte(0).text(EVERY_BYTE).text(EVERY_BYTE).byte(0)
s.byte(0).text(EVERY_BYTE).text(bytes(range(2, 256, 2))).byte(2)
s.byte(0).text("a,b,,c").text(",").byte(0)
s.byte(0).text(",,a,,").text(",").byte(1)
s.byte(0).text("one  two three ").text(" ").byte(0)
s.byte(0).text("x y").text("").byte(0)
s.byte(0).text(" ".join("t%d" % i for i in range(40))).text(" ").byte(0)
s.byte(0).text("a b").text(" ").byte(0x40)   # null delimiters
s.byte(0).text("").text(" ").byte(0x40)
s.byte(0).text("a b").text(" ").byte(0x80)   # a null vector

s = seed(CONVERT, "split_path_long_parts")
long_path = "C:\\" + "d" * 300 + "\\" + "n" * 300 + "." + "e" * 300
s.byte(1).text(long_path).byte(15).byte(0)
s.byte(1).text(long_path).byte(15).byte(2)
s.byte(1).text("C:\\dir\\sub\\name.ext").byte(12).byte(0)
s.byte(1).text("C:\\dir\\sub\\name.ext").byte(15).byte(4)
s.byte(1).text("a/b.c/d").byte(15).byte(0)
s.byte(1).text("/:x..y.").byte(15).byte(3)
s.byte(1).text("").byte(0).byte(0)
s.byte(1).text("d:").byte(15).byte(1)
for path in ["ab:c.d", "x.y/a.b.c", "C:\\d\\s\\n.e"]:
    s.byte(1).text(path).byte(15).byte(0)

s = seed(CONVERT, "get_value")
for text in ["3,5", "1,5,2", "1.5,7", "abc", "", "  2.25x", "1e400", "-nan",
             "0x1p3", "inf", ",5", "1,,2"]:
    s.byte(2).text(text)

s = seed(CONVERT, "get_from_unicode")
s.byte(3).byte(3).word(65).word(66).word(67).text("old")
s.byte(3).byte(2).word(321).word(578).text("")
s.byte(3).byte(3).word(65).word(256).word(67).text("x")
s.byte(3).byte(0).text("gone")
s.byte(3).byte(255).text("null")             # null units

# --- xstringbuf --------------------------------------------------------------
# First byte: capacity + 2. Ops: 0 "%s", 1 "%d", 2 "%s%c%s", 3 Empty,
# 4 write through the buffer, 5 copy and assign back, 6 "%s" with the
# buffer's own text from an index, 7 self-assignment.
BUF = "xstringbuf"

s = seed(BUF, "growth")
s.byte(4 + 2).byte(0).text("abc").byte(0).text("d")
s.byte(0).text("x" * 20).byte(3).byte(0).text("y" * 5000)
s.byte(4).index(3, 0).byte(ord("Z")).byte(1).int32(-2147483648)
s.byte(5).byte(7).byte(2).text("p" * 40).byte(ord("c")).text("q" * 40)
s.byte(6).index(0, 0).byte(6).index(3, 0)

s = seed(BUF, "tiny_capacities")
s.byte(0).byte(0).text("").byte(0).text("a").byte(0).text("bc")
s = seed(BUF, "capacity_one")
s.byte(3).byte(1).int32(7).byte(5).byte(0).text("z" * 17)

# --- xptrlist ----------------------------------------------------------------
# Ops: 0/1 AddTail(word), 2 Get, 3 RemoveAt, 4 out of range, 5 BuildIndex,
# 6 Clear, 7 copy/assign. Positions are read only when the list holds two
# values or more.
LIST = "xptrlist"

s = seed(LIST, "edges")
s.byte(2).byte(3).byte(5)                                 # empty list
s.byte(0).word(1).byte(3).byte(0).word(2)                 # node reused
s.byte(0).word(3).byte(0).word(4).byte(2).index(2, 0)
s.byte(3).index(1, 0).byte(3).index(1, 0).byte(3)
s.byte(4).byte(0).byte(0).byte(4).byte(1).byte(0)
for v in range(5, 12):
    s.byte(0).word(v)
s.byte(7).byte(3).word(20).word(21).word(22).byte(0)
s.byte(7).byte(0).byte(1).byte(6).byte(2)

s = seed(LIST, "drain_from_front")
for v in range(1, 20):
    s.byte(1).word(v)
for n in range(19, 0, -1):
    s.byte(2)
    if n > 1:
        s.index(0, 0)
    s.byte(3)
    if n > 1:
        s.index(0, 0)

# RemoveAt at the middle, the end and the front of a list with a current
# index, of its only value and on the empty list; out of range at the count,
# below zero and past an empty list; then copies and assignments of an empty
# list, of a list with a stale index, and of two values and none over three.
s = seed(LIST, "remove_each_position")
for v in range(1, 5):
    s.byte(0).word(v)
s.byte(2).index(0, 0)
s.byte(3).index(2, 0).byte(3).index(2, 0).byte(3).index(0, 0)
s.byte(4).byte(0).byte(0).byte(4).byte(1).byte(0)
s.byte(3).byte(3).byte(4).byte(0).byte(1)
s.byte(7).byte(2).word(8).word(9).byte(1)
for v in range(5, 8):
    s.byte(0).word(v)
s.byte(7).byte(2).word(8).word(9).byte(1)
s.byte(7).byte(0).byte(1)

# --- x3dmath -----------------------------------------------------------------
# Ops: 0 SolveSystem (k - 1, then k rows of k + 1 floats), 1 five-input
# IntersectPolygon (A, B, C, S, E), 2 six-input form (A, B, C, N, S, E),
# 3 SolveSystem with another shape (k + 2, n + 2, then 6 rows of 4 floats).
MATH = "x3dmath"
INF = float("inf")
NAN = float("nan")
THRESHOLD_BITS = struct.unpack("<I", struct.pack("<f", 0.0001))[0]


def solve(s, rows):
    s.byte(0).byte(len(rows) - 1)
    for row in rows:
        for v in row:
            if isinstance(v, int) and not isinstance(v, bool) and v > 0xFFFF:
                s.float_bits(v)
            else:
                s.float(v)


def intersect(s, *points):
    s.byte(1 if len(points) == 5 else 2)
    for p in points:
        for v in p:
            s.float(v)


s = seed(MATH, "solve_examples")
solve(s, [(6, 3)])
solve(s, [(6, 0.00005)])
solve(s, [(5, 1, 2), (6, 3, 4)])
solve(s, [(1, 1, 0), (2, 0, 1)])
solve(s, [(1, 1, 0, 0.00001), (2, 0, 1, 1), (3, 0, 0, 2)])
solve(s, [(1, 1, -0.00005), (2, 3, 0.00001)])
solve(s, [(1, 1, 0, 0), (2, 0, 1, 0), (3, 1, 1, 0)])
solve(s, [(1, 0, 0), (2, 0, 0)])

s = seed(MATH, "solve_threshold")
solve(s, [(1, 1, THRESHOLD_BITS), (2, 3, 1)])
solve(s, [(1, 1, THRESHOLD_BITS - 1), (2, 3, 1)])
solve(s, [(1, 1, 0x80000000 | (THRESHOLD_BITS - 1)), (2, 3, 1)])

s = seed(MATH, "solve_nan_inf")
solve(s, [(NAN, 1, 2), (6, 3, 4)])
solve(s, [(1, 1, NAN), (2, 3, 4)])
solve(s, [(INF, -INF, 1, 2), (1, 2, 3, 0), (0, 0, 0, 0)])
solve(s, [(NAN,)*4, (INF,)*4, (-INF,)*4])

# A first row whose every coefficient is below the pivot threshold, and a
# second row that opens with 0: each shape would exchange, read or write
# rows and columns if it ran.
s = seed(MATH, "solve_other_shapes")
for n, k in [(1, 0), (0, -1), (5, 4), (6, 5), (5, 3), (3, 3), (2, 3), (4, 2)]:
    s.byte(3).byte(k + 2).byte(n + 2)
    for v in [1, 1e-5, 1e-5, 1e-5, 0] + list(range(2, 21)):
        s.float(v)

A, B, C, N = (0, 0, 0), (1, 0, 0), (0, 1, 0), (0, 0, 1)
s = seed(MATH, "intersect_table")
for start, end in [((0.25, 0.25, 1), (0.25, 0.25, -1)),
                   ((0.25, 0.25, 0), (0.25, 0.25, -1)),
                   ((0.25, 0.25, 1), (0.25, 0.25, 0.5)),
                   ((-0.25, 0.25, 1), (-0.25, 0.25, -1)),
                   ((0.25, -0.25, 1), (0.25, -0.25, -1)),
                   ((0, 2, 1), (0, 2, -1)),
                   ((0.75, 0.75, 1), (0.75, 0.75, -1)),
                   ((1, 0, 1), (1, 0, -1)),
                   ((0.25, 0.25, 1), (0.5, 0.25, 1))]:
    intersect(s, A, B, C, start, end)
    intersect(s, A, B, C, N, start, end)
intersect(s, A, B, C, (1, 0, 1), (0.25, 0.25, 1), (0.25, 0.25, -1))
intersect(s, A, (0, 1, 0), (1, 0, 0), (0, 0, -1), (0.25, 0.25, 1),
          (0.25, 0.25, -1))

s = seed(MATH, "intersect_degenerate")
line = ((0, 0, 0), (1, 1, 0), (2, 2, 0))                  # zero area
intersect(s, *line, (0.5, 0.5, 1), (0.5, 0.5, -1))
intersect(s, *line, N, (0.5, 0.5, 1), (0.5, 0.5, -1))
intersect(s, *line, (1, 1, 1), (0.5, 0.5, 1), (0.5, 0.5, -1))
point = (0.25, 0.25, 0.5)                                 # zero length
intersect(s, A, B, C, point, point)
intersect(s, A, B, C, N, point, point)
intersect(s, A, B, C, (0, 0, 0), (0.25, 0.25, 1), (0.25, 0.25, -1))
intersect(s, A, A, A, N, (0, 0, 1), (0, 0, -1))
intersect(s, A, B, C, N, (NAN, 0, 1), (INF, 0, -1))
intersect(s, A, B, C, (INF, -INF, NAN), (0.25, 0.25, 1), (0.25, 0.25, -1))

# --- bmem --------------------------------------------------------------------
# Ops: byte % 3 != 0 allocates (size word, file text, line), == 0 releases
# (index, file text, line; an empty file passes null).
BMEM = "bmem"

s = seed(BMEM, "sizes_and_order")
for size in (10, 20, 30, 0):
    s.byte(1).word(size).text("a.cpp").int32(size)
s.byte(0).index(1, 0).text("").byte(0)
s.byte(0).index(2, 0).text("other.cpp").byte(9)
s.byte(0).index(0, 0).text("").byte(0)

s = seed(BMEM, "long_file_names")
s.byte(1).word(4096).text("f" * 300).int32(-1)
s.byte(1).word(1).text(EVERY_BYTE).int32(2**31 - 1)
s.byte(1).word(0).text("").int32(0)
s.byte(0).index(1, 0).text("").byte(0)


def main():
    for (harness, name), s in sorted(seeds.items()):
        directory = os.path.join(CORPUS, harness)
        os.makedirs(directory, exist_ok=True)
        with open(os.path.join(directory, name), "wb") as f:
            f.write(bytes(s.data))


if __name__ == "__main__":
    main()
