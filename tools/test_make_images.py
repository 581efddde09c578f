#!/usr/bin/python3
"""Checks the picture files of make_images.py byte by byte: BMP and ICO/CUR headers, row order
and padding, AND masks, and that skin.rc, skin_ids.h and the written files agree.

    /usr/bin/python3 tools/test_make_images.py
"""

import os
import re
import struct
import sys
import tempfile
import unittest
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
RESOURCES = os.path.join(HERE, "..", "src", "resources")
sys.path.insert(0, HERE)

import make_images as mi  # noqa: E402


def read_dib(blob, height_factor):
    """Decodes a BITMAPINFOHEADER image: (width, height, bits, top-down colour rows, top-down
    AND mask rows or None). The AND mask is expected when height_factor is 2 (icons)."""
    (size, w, h2, planes, bits, comp, image_size, _, _, used, important) = struct.unpack_from("<IiiHHIIiiII", blob, 0)
    assert size == 40, size
    assert planes == 1 and comp == 0 and used == 0 and important == 0
    assert h2 > 0, "rows must be stored bottom-up"
    assert h2 % height_factor == 0
    h = h2 // height_factor
    stride = ((w * bits + 31) // 32) * 4
    pos = 40
    rows = []
    for _ in range(h):
        rows.append(blob[pos : pos + stride])
        pos += stride
    rows.reverse()
    mask_rows = None
    if height_factor == 2:
        mstride = ((w + 31) // 32) * 4
        mask_rows = []
        for _ in range(h):
            mask_rows.append(blob[pos : pos + mstride])
            pos += mstride
        mask_rows.reverse()
    assert image_size in (0, pos - 40), (image_size, pos - 40)
    assert pos == len(blob), (pos, len(blob))
    return w, h, bits, stride, rows, mask_rows


def pixel(row, x, bits):
    if bits == 24:
        b, g, r = row[3 * x : 3 * x + 3]
        return (r, g, b, 255)
    b, g, r, a = row[4 * x : 4 * x + 4]
    return (r, g, b, a)


def transparent(mask_row, x):
    return bool(mask_row[x >> 3] & (0x80 >> (x & 7)))


def read_icon_file(data, kind):
    reserved, typ, count = struct.unpack_from("<HHH", data, 0)
    assert reserved == 0 and typ == kind and count >= 1
    images = []
    end = 6 + 16 * count
    for k in range(count):
        w, h, colours, res, f1, f2, size, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * k)
        assert colours == 0 and res == 0
        assert offset == end, "images follow the directory back to back"
        end = offset + size
        dib = read_dib(data[offset : offset + size], 2)
        assert (dib[0] % 256, dib[1] % 256) == (w, h)
        if kind == 1:
            assert f1 == 1 and f2 == dib[2], "planes 1 and the bit count in an icon entry"
        images.append(((f1, f2), dib))
    assert end == len(data)
    return images


class Rendered(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        cls.out = cls.tmp.name
        assert mi.main(["make_images.py", cls.out]) == 0
        cls.files = sorted(os.listdir(cls.out))

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def data(self, name):
        with open(os.path.join(self.out, name), "rb") as f:
            return f.read()

    def test_every_skin_image_exists_with_the_kind_and_size_of_its_set(self):
        for skin in mi.SKIN_SETS:
            for j in range(skin.count):
                name = "skin%04d.%s" % (skin.first_id + j, "ico" if skin.kind == "icon" else "bmp")
                self.assertIn(name, self.files)
                data = self.data(name)
                if skin.kind == "icon":
                    (_, (w, h, bits, _, _, _)), = read_icon_file(data, 1)
                    self.assertEqual((w, h), skin.size, name)
                    self.assertEqual(bits, 24, name)
                else:
                    self.assertEqual(data[:2], b"BM")
        # the labels cover the 60-pixel label column at 96 and 120 dots per inch
        label = self.data("skin1000.bmp")
        w, h = struct.unpack_from("<ii", label, 18)
        self.assertEqual(w, 60)
        self.assertGreaterEqual(h, 22)

    def test_bitmap_headers_rows_and_padding(self):
        for name in self.files:
            if not name.endswith(".bmp"):
                continue
            data = self.data(name)
            magic, size, r1, r2, off = struct.unpack_from("<2sIHHI", data, 0)
            self.assertEqual((magic, size, r1, r2, off), (b"BM", len(data), 0, 0, 54), name)
            w, h, bits, stride, rows, _ = read_dib(data[14:], 1)
            self.assertEqual(bits, 24)
            self.assertEqual(stride % 4, 0)
            self.assertEqual(len(data), 54 + stride * h)
            for row in rows:  # padding bytes are zero
                self.assertEqual(row[w * 3 :], b"\0" * (stride - w * 3), name)

    def test_bitmaps_are_stored_bottom_up(self):
        # The label's bottom rows continue the grey column; its pill is near the top.
        cv = mi.address_label("Subject:", "hover")
        expect = cv.over(mi.FACE).pixels()
        data = self.data("skin1802.bmp")
        w, h, bits, _, rows, _ = read_dib(data[14:], 1)
        got = [pixel(rows[y], x, bits) for y in range(h) for x in range(w)]
        self.assertEqual(got, expect)
        self.assertEqual(got[(h - 1) * w][:3], mi.PANEL_GREY)
        self.assertNotEqual(got[5 * w + 30][:3], mi.PANEL_GREY)

    def test_skin_icons_put_their_shape_on_the_mask(self):
        for name in self.files:
            if not (name.startswith("skin") and name.endswith(".ico")):
                continue
            (_, (w, h, bits, stride, rows, mask)), = read_icon_file(self.data(name), 1)
            for y in range(h):
                self.assertEqual(rows[y][w * 3 :], b"\0" * (stride - w * 3), name)
                for x in range(w):
                    if transparent(mask[y], x):
                        # AND-then-XOR drawing must leave the screen as it is
                        self.assertEqual(pixel(rows[y], x, bits)[:3], (0, 0, 0), name)
        # A toolbar face is transparent at its corners and opaque in its pictogram; the
        # recorder's display pieces are opaque throughout.
        (_, (w, h, _, _, rows, mask)), = read_icon_file(self.data("skin0100.ico"), 1)
        self.assertTrue(transparent(mask[0], 0))
        self.assertFalse(all(transparent(mask[y], x) for y in range(h) for x in range(w)))
        for name in ("skin1300.ico", "skin1600.ico", "skin1708.ico"):
            (_, (w, h, _, _, _, mask)), = read_icon_file(self.data(name), 1)
            self.assertFalse(any(transparent(mask[y], x) for y in range(h) for x in range(w)), name)

    def test_program_icons_have_three_sizes_with_alpha_and_a_matching_mask(self):
        for name in ("kestro.ico", "msgsent.ico", "videodrv.ico"):
            images = read_icon_file(self.data(name), 1)
            self.assertEqual(sorted(d[0] for _, d in images), [16, 32, 48], name)
            for _, (w, h, bits, _, rows, mask) in images:
                self.assertEqual(bits, 32)
                alphas = [pixel(rows[y], x, 32)[3] for y in range(h) for x in range(w)]
                self.assertIn(0, alphas)
                self.assertIn(255, alphas)
                for y in range(h):
                    for x in range(w):
                        self.assertEqual(transparent(mask[y], x), pixel(rows[y], x, 32)[3] == 0)

    def test_hand_cursor_has_its_hotspot_on_the_finger(self):
        ((hx, hy), (w, h, bits, _, rows, mask)), = read_icon_file(self.data("hand.cur"), 2)
        self.assertEqual((w, h, bits), (32, 32, 32))
        self.assertEqual((hx, hy), mi.CURSOR_HOTSPOT)
        near = [pixel(rows[y], x, 32)[3] for y in range(hy, hy + 3) for x in range(hx - 1, hx + 2)]
        self.assertTrue(max(near) > 128, "the hotspot touches the drawn finger")

    def test_resource_script_names_exactly_the_written_files(self):
        with open(os.path.join(RESOURCES, "skin.rc")) as f:
            script = f.read()
        named = re.findall(r'^\s*(\w+)\s+(ICON|BITMAP|CURSOR)\s+"([^"]+)"', script, re.M)
        self.assertEqual(sorted(n for _, _, n in named), self.files)
        ids = {}
        for header in ("resource_ids.h", "skin_ids.h"):
            with open(os.path.join(RESOURCES, header)) as f:
                for line in f:
                    self.assertTrue(line.startswith(("#", "//")) or not line.strip(), line)
                    m = re.match(r"#define (\w+)\s+(\d+)\b", line)
                    if m:
                        ids[m.group(1)] = int(m.group(2))
        for rid, kind, name in named:
            value = ids[rid] if not rid.isdigit() else int(rid)
            if name.startswith("skin"):
                self.assertEqual(value, int(name[4:8]))
                self.assertEqual(kind, "ICON" if name.endswith(".ico") else "BITMAP")
        self.assertEqual(ids["IDI_KESTRO"], 1)
        self.assertEqual(ids["IDR_HAND_CURSOR"], 100)
        self.assertEqual(ids["IDI_MESSAGE_SENT"], 10004)
        self.assertEqual((ids["SKIN_SET_LOGO"], ids["SKIN_LOGO_COUNT"]), (8, 31))
        self.assertEqual((ids["SKIN_SET_FROM"], ids["SKIN_FROM_COUNT"]), (26, 4))

    def test_checked_in_sources_match_the_generator(self):
        with open(os.path.join(RESOURCES, "skin.rc")) as f:
            self.assertEqual(f.read(), mi.resource_script())
        with open(os.path.join(RESOURCES, "skin_ids.h")) as f:
            self.assertEqual(f.read(), mi.ids_header())


class Png(unittest.TestCase):
    def test_png_rows_and_checksums(self):
        px = [(x * 40, y * 60, 7, 255) for y in range(3) for x in range(5)]
        data = mi.png_bytes(5, 3, px)
        self.assertEqual(data[:8], b"\x89PNG\r\n\x1a\n")
        pos, chunks = 8, {}
        while pos < len(data):
            (n,) = struct.unpack_from(">I", data, pos)
            tag, body = data[pos + 4 : pos + 8], data[pos + 8 : pos + 8 + n]
            (crc,) = struct.unpack_from(">I", data, pos + 8 + n)
            self.assertEqual(crc, zlib.crc32(tag + body) & 0xFFFFFFFF)
            chunks[tag] = body
            pos += 12 + n
        self.assertEqual(struct.unpack(">IIBBBBB", chunks[b"IHDR"]), (5, 3, 8, 2, 0, 0, 0))
        raw = zlib.decompress(chunks[b"IDAT"])
        self.assertEqual(len(raw), 3 * (1 + 15))
        self.assertEqual(raw[16:20], bytes((0, 0, 60, 7)))


if __name__ == "__main__":
    unittest.main()
