#!/usr/bin/env python3
"""Generates the default skin "Skin0000" into a build directory.

Usage: gen_skin.py <skin source folder> <output folder>
       gen_skin.py --icon <path of the .ico to write>

Writes <out>/Skin0000.ini (the UTF-8 source converted to Windows-1252), the bitmaps under
<out>/Skin0000/ and the default <out>/defaults/user.ini. Everything is drawn here with a tiny
anti-aliased rasteriser, so no image binaries live in the repository.
"""
import math
import os
import struct
import sys

# Palette: calm, light surfaces with one blue accent.
WHITE = (255, 255, 255)
SURFACE = (255, 255, 255)
PAGE = (250, 251, 252)
BAR = (243, 245, 248)
LINE = (225, 229, 234)
ACCENT = (47, 111, 222)
ACCENT_SOFT = (232, 240, 253)
TEXT_MUTED = (150, 156, 166)
INFO = (47, 111, 222)
QUESTION = (47, 111, 222)
WARNING = (227, 160, 8)
ERROR = (214, 69, 69)
SUCCESS = (46, 158, 91)

MESSAGE_BOX = (440, 184)
MESSAGE_BAR = 56
FRAME = (600, 420)
HEADER = 72
FRAME_BAR = 56
BUTTON = (96, 30)
WIDE_BUTTON = (112, 30)
SUPERSAMPLE = 4


class Canvas:
    def __init__(self, width, height, color=WHITE):
        self.width = width
        self.height = height
        self.pixels = [list(color) for _ in range(width * height)]

    def get(self, x, y):
        return self.pixels[y * self.width + x]

    def blend(self, x, y, color, alpha):
        if not (0 <= x < self.width and 0 <= y < self.height) or alpha <= 0:
            return
        p = self.pixels[y * self.width + x]
        a = min(alpha, 1.0)
        for i in range(3):
            p[i] = int(round(p[i] * (1 - a) + color[i] * a))

    def fill_rect(self, x0, y0, x1, y1, color):
        for y in range(max(0, y0), min(self.height, y1)):
            for x in range(max(0, x0), min(self.width, x1)):
                self.pixels[y * self.width + x] = list(color)

    def cover(self, box, inside, color):
        """Blends color by the coverage of inside(x, y) over the pixels of box."""
        x0, y0, x1, y1 = box
        step = 1.0 / SUPERSAMPLE
        offsets = [(i + 0.5) * step for i in range(SUPERSAMPLE)]
        for y in range(max(0, int(y0)), min(self.height, int(math.ceil(y1)))):
            for x in range(max(0, int(x0)), min(self.width, int(math.ceil(x1)))):
                hits = sum(1 for dy in offsets for dx in offsets if inside(x + dx, y + dy))
                if hits:
                    self.blend(x, y, color, hits / (SUPERSAMPLE * SUPERSAMPLE))

    def rounded_rect(self, x0, y0, x1, y1, radius, color):
        def inside(px, py):
            if not (x0 <= px <= x1 and y0 <= py <= y1):
                return False
            cx = min(max(px, x0 + radius), x1 - radius)
            cy = min(max(py, y0 + radius), y1 - radius)
            return (px - cx) ** 2 + (py - cy) ** 2 <= radius * radius

        self.cover((x0, y0, x1, y1), inside, color)

    def circle(self, cx, cy, r, color):
        self.cover((cx - r, cy - r, cx + r, cy + r), lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r, color)

    def line(self, ax, ay, bx, by, width, color):
        half = width / 2.0
        dx, dy = bx - ax, by - ay
        length2 = dx * dx + dy * dy or 1e-9

        def inside(px, py):
            t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length2))
            qx, qy = ax + t * dx, ay + t * dy
            return (px - qx) ** 2 + (py - qy) ** 2 <= half * half

        box = (min(ax, bx) - half - 1, min(ay, by) - half - 1, max(ax, bx) + half + 1, max(ay, by) + half + 1)
        self.cover(box, inside, color)

    def polyline(self, points, width, color):
        for (ax, ay), (bx, by) in zip(points, points[1:]):
            self.line(ax, ay, bx, by, width, color)

    def polygon(self, points, color):
        def inside(px, py):
            result = False
            j = len(points) - 1
            for i in range(len(points)):
                xi, yi = points[i]
                xj, yj = points[j]
                if (yi > py) != (yj > py) and px < (xj - xi) * (py - yi) / (yj - yi) + xi:
                    result = not result
                j = i
            return result

        xs = [p[0] for p in points]
        ys = [p[1] for p in points]
        self.cover((min(xs), min(ys), max(xs) + 1, max(ys) + 1), inside, color)

    def paste(self, other, left, top):
        for y in range(other.height):
            for x in range(other.width):
                if 0 <= left + x < self.width and 0 <= top + y < self.height:
                    self.pixels[(top + y) * self.width + left + x] = list(other.get(x, y))

    def bmp(self):
        stride = (self.width * 3 + 3) // 4 * 4
        data = bytearray()
        for y in range(self.height - 1, -1, -1):
            row = bytearray()
            for x in range(self.width):
                r, g, b = self.get(x, y)
                row += bytes((b, g, r))
            row += bytes(stride - len(row))
            data += row
        header = struct.pack('<2sIHHI', b'BM', 54 + len(data), 0, 0, 54)
        info = struct.pack('<IiiHHIIiiII', 40, self.width, self.height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
        return header + info + bytes(data)


# Glyphs drawn in white inside a coloured disc centred at (cx, cy).
def glyph_info(c, cx, cy):
    c.circle(cx, cy - 8, 2.7, WHITE)
    c.line(cx, cy - 2, cx, cy + 9, 4, WHITE)


def glyph_warning(c, cx, cy):
    c.line(cx, cy - 10, cx, cy + 3, 4, WHITE)
    c.circle(cx, cy + 9, 2.7, WHITE)


def glyph_error(c, cx, cy):
    c.line(cx - 7, cy - 7, cx + 7, cy + 7, 4, WHITE)
    c.line(cx + 7, cy - 7, cx - 7, cy + 7, 4, WHITE)


def glyph_success(c, cx, cy):
    c.polyline([(cx - 9, cy + 1), (cx - 3, cy + 7), (cx + 9, cy - 6)], 4, WHITE)


def glyph_question(c, cx, cy):
    points = []
    for i in range(0, 25):
        angle = math.radians(200 + i * (230 / 24.0))
        points.append((cx + 6.5 * math.cos(angle), cy - 5 + 6.5 * math.sin(angle)))
    points += [(cx, cy + 3)]
    c.polyline(points, 3.6, WHITE)
    c.circle(cx, cy + 9, 2.5, WHITE)


MESSAGE_KINDS = {
    'info': (INFO, glyph_info),
    'question': (QUESTION, glyph_question),
    'warning': (WARNING, glyph_warning),
    'error': (ERROR, glyph_error),
    'success': (SUCCESS, glyph_success),
}


def message_background(kind):
    width, height = MESSAGE_BOX
    c = Canvas(width, height, SURFACE)
    color, glyph = MESSAGE_KINDS[kind]
    c.fill_rect(0, 0, width, 3, color)
    c.circle(44, 46, 20, color)
    glyph(c, 44, 46)
    bar = height - MESSAGE_BAR
    c.fill_rect(0, bar, width, height, BAR)
    c.fill_rect(0, bar, width, bar + 1, LINE)
    return c


def star(c, cx, cy, outer, inner, color):
    points = []
    for i in range(10):
        r = outer if i % 2 == 0 else inner
        angle = math.radians(-90 + i * 36)
        points.append((cx + r * math.cos(angle), cy + r * math.sin(angle)))
    c.polygon(points, color)


def archive_box(c, cx, cy, color):
    c.rounded_rect(cx - 11, cy - 9, cx + 11, cy - 3, 1.5, color)
    c.rounded_rect(cx - 9, cy - 2, cx + 9, cy + 10, 1.5, color)
    c.line(cx - 3, cy + 2, cx + 3, cy + 2, 2, WHITE)


def frame_background(emblem):
    width, height = FRAME
    c = Canvas(width, height, SURFACE)
    c.fill_rect(0, 0, width, 3, ACCENT)
    c.circle(width - 48, 38, 20, ACCENT_SOFT)
    emblem(c, width - 48, 38)
    bar = height - FRAME_BAR
    c.fill_rect(0, HEADER, width, bar, PAGE)
    c.fill_rect(0, HEADER, width, HEADER + 1, LINE)
    c.fill_rect(0, bar, width, height, BAR)
    c.fill_rect(0, bar, width, bar + 1, LINE)
    return c


def button_strip(size, backdrop, primary=False):
    """Five frames: normal, pressed, hot, disabled and the outline mask."""
    width, height = size
    styles = [
        (ACCENT_SOFT if primary else WHITE, ACCENT if primary else (197, 204, 214)),
        ((214, 228, 250), ACCENT),
        ((238, 243, 252), (143, 176, 234)),
        ((243, 244, 246), (225, 228, 232)),
    ]
    strip = Canvas(width * 5, height, backdrop)
    for index, (fill, border) in enumerate(styles):
        left = index * width
        strip.rounded_rect(left, 0, left + width, height, 5, border)
        strip.rounded_rect(left + 1, 1, left + width - 1, height - 1, 4, fill)
    # The mask: dark where the button is, white around its rounded corners.
    mask = Canvas(width, height, WHITE)
    mask.rounded_rect(0, 0, width, height, 5, (0, 0, 0))
    for y in range(height):
        for x in range(width):
            p = mask.get(x, y)
            mask.pixels[y * width + x] = [0, 0, 0] if p[0] < 160 else [255, 255, 255]
    strip.paste(mask, width * 4, 0)
    return strip


def tree_icon(kind):
    c = Canvas(16, 16, WHITE)
    if kind == 'file':
        outline, fill = (138, 148, 163), (250, 251, 252)
        c.fill_rect(3, 1, 13, 15, outline)
        c.fill_rect(4, 2, 12, 14, fill)
        c.fill_rect(9, 1, 13, 5, WHITE)
        c.fill_rect(9, 1, 10, 5, outline)
        c.fill_rect(9, 4, 13, 5, outline)
        for y in (7, 9, 11):
            c.fill_rect(6, y, 11, y + 1, (180, 188, 199))
    else:
        outline, fill, light = (201, 150, 43), (242, 193, 78), (248, 214, 128)
        c.fill_rect(1, 3, 7, 5, outline)
        c.fill_rect(1, 4, 15, 14, outline)
        c.fill_rect(2, 5, 14, 13, fill)
        if kind == 'opened':
            c.fill_rect(2, 5, 14, 7, light)
            c.polygon([(3, 8), (16, 8), (14, 14), (1, 14)], outline)
            c.polygon([(4, 9), (15, 9), (13.5, 13), (2.5, 13)], light)
    # Pure white is the mask colour of the tree's image list; keep the shapes off it.
    return c


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'wb') as f:
        f.write(data)


def convert_ini(source, target):
    with open(source, encoding='utf-8') as f:
        text = f.read()
    lines = [line for line in text.splitlines() if not line.startswith('#')]
    write(target, ('\r\n'.join(lines).strip() + '\r\n').encode('cp1252'))


def icon_image(size):
    c = Canvas(size, size, (0, 0, 0))
    alpha = Canvas(size, size, (0, 0, 0))
    scale = size / 32.0
    c.fill_rect(0, 0, size, size, ACCENT)
    alpha.rounded_rect(1 * scale, 1 * scale, 31 * scale, 31 * scale, 6 * scale, WHITE)
    w = max(2.0, 2.6 * scale)
    c.polyline([(8 * scale, 11 * scale), (23 * scale, 11 * scale)], w, WHITE)
    c.polyline([(19 * scale, 7 * scale), (23.5 * scale, 11 * scale), (19 * scale, 15 * scale)], w, WHITE)
    c.polyline([(24 * scale, 21 * scale), (9 * scale, 21 * scale)], w, WHITE)
    c.polyline([(13 * scale, 17 * scale), (8.5 * scale, 21 * scale), (13 * scale, 25 * scale)], w, WHITE)
    data = bytearray()
    for y in range(size - 1, -1, -1):
        for x in range(size):
            r, g, b = c.get(x, y)
            data += bytes((b, g, r, alpha.get(x, y)[0]))
    mask_stride = (size + 31) // 32 * 4
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, len(data), 0, 0, 0, 0)
    return header + bytes(data) + bytes(mask_stride * size)


def write_icon(path):
    images = [(32, icon_image(32)), (16, icon_image(16))]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in images:
        out += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    for _, image in images:
        out += image
    write(path, out)


def main(argv):
    if len(argv) == 3 and argv[1] == '--icon':
        write_icon(argv[2])
        return 0
    if len(argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    source, out = argv[1], argv[2]
    skin = os.path.join(out, 'Skin0000')
    for kind in MESSAGE_KINDS:
        write(os.path.join(skin, 'msgbox_%s.bmp' % kind), message_background(kind).bmp())
    write(os.path.join(skin, 'fav_frame.bmp'), frame_background(lambda c, x, y: star(c, x, y, 11, 4.8, ACCENT)).bmp())
    write(os.path.join(skin, 'archiv_frame.bmp'), frame_background(lambda c, x, y: archive_box(c, x, y, ACCENT)).bmp())
    write(os.path.join(skin, 'page_bg.bmp'), Canvas(16, 16, PAGE).bmp())
    write(os.path.join(skin, 'button.bmp'), button_strip(BUTTON, BAR).bmp())
    write(os.path.join(skin, 'button_primary.bmp'), button_strip(BUTTON, BAR, primary=True).bmp())
    write(os.path.join(skin, 'button_page.bmp'), button_strip(WIDE_BUTTON, PAGE).bmp())
    for kind, name in (('file', 'file'), ('closed', 'folder_closed'), ('opened', 'folder_opened')):
        write(os.path.join(skin, 'TreeIcons', name + '.bmp'), tree_icon(kind).bmp())
    convert_ini(os.path.join(source, 'Skin0000.ini'), os.path.join(out, 'Skin0000.ini'))
    convert_ini(os.path.join(source, 'user.ini'), os.path.join(out, 'defaults', 'user.ini'))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
