#!/usr/bin/env python3
"""Draws the default skin: every image at 1x and @2x, and its SkinInfo.

Needs only python3 and ImageMagick's `convert`. Drawings are written once in 1x coordinates as
ImageMagick draw commands; the @2x image is the same drawing under a 2x scale, so both are crisp.

    tools/make_default_skin.py [output folder, default resources/defaultSkin]
"""
import os
import plistlib
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "resources", "defaultSkin")

# One colour scheme: slate chrome, light content, one blue accent.
CHROME_TOP = (0x1B, 0x24, 0x33)
CHROME_BOTTOM = (0x24, 0x31, 0x48)
CHROME_LINE = "#33425C"
CONTENT = "#EEF2F7"
CARD = "#FFFFFF"
CARD_BORDER = "#D8DFE9"
STATUS = "#E4E9F0"
STATUS_LINE = "#D2D9E3"
ACCENT = "#2F7CF6"
ACCENT_DOWN = "#1F63D6"
ACCENT_SOFT = "#E5EFFE"
DANGER = "#E5484D"
TEXT = "#1F2937"
TEXT_2 = "#5B6778"
OUTLINE = "#0E141D"
ICON = "#E8EDF5"


def rgb(c):
    return "#%02X%02X%02X" % c


def mix(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


def render(name, w, h, mvg, mask_radius=None, border=None, folder=None):
    """Writes name.png and name@2x.png from draw commands in 1x coordinates."""
    for scale, suffix in ((1, ""), (2, "@2x")):
        out = os.path.join(folder or OUT, name + suffix + ".png")
        drawing = "scale %d,%d\n" % (scale, scale) + "\n".join(mvg)
        cmd = ["convert", "-size", "%dx%d" % (w * scale, h * scale), "xc:none", "-draw", drawing]
        if mask_radius is not None:
            # Rounded corners: keep only what lies inside the rounded rectangle.
            r = mask_radius * scale
            cmd += ["(", "-size", "%dx%d" % (w * scale, h * scale), "xc:none", "-fill", "white", "-draw",
                        "roundrectangle 0,0 %d,%d %d,%d" % (w * scale - 1, h * scale - 1, r, r), ")",
                        "-alpha", "set", "-compose", "DstIn", "-composite", "-compose", "Over"]
        if border is not None:
            colour, radius = border
            cmd += ["-fill", "none", "-stroke", colour, "-strokewidth", str(scale), "-draw",
                        "roundrectangle %s,%s %s,%s %d,%d" % (scale / 2, scale / 2, w * scale - scale / 2,
                                                              h * scale - scale / 2, radius * scale, radius * scale)]
        cmd += ["-define", "png:exclude-chunks=date,time", "-strip", "PNG32:" + out]
        subprocess.run(cmd, check=True)


def vgradient(x0, y0, x1, y1, top, bottom):
    """Horizontal lines from `top` to `bottom` colour, one per half pixel (crisp at 2x)."""
    cmds = []
    steps = int((y1 - y0) * 2)
    for i in range(steps):
        y = y0 + i / 2.0
        cmds.append("fill %s rectangle %s,%s %s,%s" % (rgb(mix(top, bottom, i / max(1, steps - 1))), x0, y, x1,
                                                         y + 0.5))
    return ["stroke none"] + cmds


def rrect(x0, y0, x1, y1, r, fill, stroke="none", sw=1):
    return "fill %s stroke %s stroke-width %s roundrectangle %s,%s %s,%s %s,%s" % (fill, stroke, sw, x0, y0, x1, y1,
                                                                                   r, r)


# --- icons: 22 x 22 line drawings centred on (cx, cy) ------------------------------------------

def icon(kind, cx, cy, colour, sw=1.7, behind=rgb(CHROME_BOTTOM)):
    s = "fill none stroke %s stroke-width %s stroke-linecap round stroke-linejoin round" % (colour, sw)
    x, y = cx - 11, cy - 11
    if kind == "internet":
        return [s, "circle %s,%s %s,%s" % (cx, cy, cx + 10, cy),
                "ellipse %s,%s 4.5,10 0,360" % (cx, cy),
                "line %s,%s %s,%s" % (x + 1.5, cy - 3.5, x + 20.5, cy - 3.5),
                "line %s,%s %s,%s" % (x + 1.5, cy + 3.5, x + 20.5, cy + 3.5)]
    if kind == "sms":
        return [s, "roundrectangle %s,%s %s,%s 4,4" % (x + 1, y + 2, x + 21, y + 16),
                "path 'M %s,%s L %s,%s L %s,%s'" % (x + 6, y + 16, x + 5, y + 21, x + 11, y + 16),
                "line %s,%s %s,%s" % (x + 6, y + 7.5, x + 16, y + 7.5),
                "line %s,%s %s,%s" % (x + 6, y + 11, x + 13, y + 11)]
    if kind == "phonebook":
        return [s, "circle %s,%s %s,%s" % (cx, y + 7, cx + 4.2, y + 7),
                "path 'M %s,%s C %s,%s %s,%s %s,%s'" % (x + 2.5, y + 21, x + 3.5, y + 12.5, x + 18.5, y + 12.5,
                                                         x + 19.5, y + 21)]
    if kind == "statistics":
        return [s, "line %s,%s %s,%s" % (x + 1, y + 21, x + 21, y + 21),
                "roundrectangle %s,%s %s,%s 1,1" % (x + 3, y + 12, x + 6.5, y + 18),
                "roundrectangle %s,%s %s,%s 1,1" % (x + 9.25, y + 4, x + 12.75, y + 18),
                "roundrectangle %s,%s %s,%s 1,1" % (x + 15.5, y + 9, x + 19, y + 18)]
    if kind == "records":
        return [s, "roundrectangle %s,%s %s,%s 2,2" % (x + 3, y + 1, x + 19, y + 21),
                "line %s,%s %s,%s" % (x + 7, y + 7, x + 15, y + 7),
                "line %s,%s %s,%s" % (x + 7, y + 11, x + 15, y + 11),
                "line %s,%s %s,%s" % (x + 7, y + 15, x + 12, y + 15)]
    if kind == "settings":
        cmds = [s]
        for i, (yy, knob) in enumerate(((y + 4, x + 14), (y + 11, x + 7), (y + 18, x + 16))):
            cmds.append("line %s,%s %s,%s" % (x + 1, yy, x + 21, yy))
            cmds.append("fill %s circle %s,%s %s,%s" % (behind, knob, yy, knob + 2.6, yy))
            cmds.append("fill none")
        return cmds
    if kind == "account":
        return [s, "roundrectangle %s,%s %s,%s 3,3" % (x + 1, y + 4, x + 21, y + 19),
                "line %s,%s %s,%s" % (x + 1, y + 9, x + 21, y + 9),
                "line %s,%s %s,%s" % (x + 5, y + 14.5, x + 10, y + 14.5)]
    if kind == "help":
        return [s, "circle %s,%s %s,%s" % (cx, cy, cx + 10, cy),
                "path 'M %s,%s C %s,%s %s,%s %s,%s C %s,%s %s,%s %s,%s'" % (
                    cx - 3.6, cy - 3, cx - 3.6, cy - 8, cx + 3.8, cy - 8, cx + 3.6, cy - 3, cx + 3.4, cy, cx,
                    cy - 0.2, cx, cy + 2.5),
                "fill %s stroke none circle %s,%s %s,%s" % (colour, cx, cy + 6, cx + 1.2, cy + 6)]
    if kind == "call":
        return [s, "path 'M %s,%s C %s,%s %s,%s %s,%s L %s,%s C %s,%s %s,%s %s,%s L %s,%s C %s,%s %s,%s %s,%s Z'" % (
            x + 4, y + 2, x + 1, y + 4, x + 2, y + 13, x + 9, y + 19, x + 12, y + 21, x + 15, y + 22, x + 19,
            y + 20, x + 20, y + 17, x + 15, y + 13, x + 12, y + 15, x + 8, y + 11, x + 10, y + 8),
                "line %s,%s %s,%s" % (x + 10, y + 8, x + 5, y + 3)]
    if kind == "record":
        return [s, "circle %s,%s %s,%s" % (cx, cy, cx + 10, cy),
                "path 'M %s,%s L %s,%s L %s,%s'" % (cx, cy - 6, cx, cy, cx + 5, cy + 3)]
    if kind == "wlan":
        return [s, "path 'M %s,%s Q %s,%s %s,%s'" % (x + 1, y + 8, cx, y - 2, x + 21, y + 8),
                "path 'M %s,%s Q %s,%s %s,%s'" % (x + 4.5, y + 12, cx, y + 4.5, x + 17.5, y + 12),
                "path 'M %s,%s Q %s,%s %s,%s'" % (x + 8, y + 15.5, cx, y + 11, x + 14, y + 15.5),
                "fill %s stroke none circle %s,%s %s,%s" % (colour, cx, y + 19, cx + 1.6, y + 19)]
    if kind == "ussd":
        return [s, "roundrectangle %s,%s %s,%s 4,4" % (x + 1, y + 1, x + 21, y + 21),
                "line %s,%s %s,%s" % (x + 9, y + 5, x + 8, y + 17), "line %s,%s %s,%s" % (x + 14, y + 5, x + 13, y + 17),
                "line %s,%s %s,%s" % (x + 5, y + 9, x + 17.5, y + 9), "line %s,%s %s,%s" % (x + 4.5, y + 13, x + 17, y + 13)]
    if kind == "stk":
        return [s, "path 'M %s,%s L %s,%s L %s,%s L %s,%s L %s,%s Z'" % (x + 4, y + 1, x + 14, y + 1, x + 19, y + 6,
                                                                      x + 19, y + 21, x + 4, y + 21),
                "roundrectangle %s,%s %s,%s 1.5,1.5" % (x + 7.5, y + 9, x + 15.5, y + 17),
                "line %s,%s %s,%s" % (x + 11.5, y + 9, x + 11.5, y + 17)]
    if kind == "gps":
        return [s, "path 'M %s,%s C %s,%s %s,%s %s,%s C %s,%s %s,%s %s,%s Z'" % (
            cx, y + 21, x + 2, y + 12, x + 3, y + 1, cx, y + 1, x + 19, y + 1, x + 20, y + 12, cx, y + 21),
                "circle %s,%s %s,%s" % (cx, y + 8.5, cx + 3, y + 8.5)]
    if kind == "close":
        return [s, "line %s,%s %s,%s" % (cx - 4, cy - 4, cx + 4, cy + 4),
                "line %s,%s %s,%s" % (cx + 4, cy - 4, cx - 4, cy + 4)]
    if kind == "minimize":
        return [s, "line %s,%s %s,%s" % (cx - 4.5, cy, cx + 4.5, cy)]
    if kind == "chevronLeft":
        return [s, "path 'M %s,%s L %s,%s L %s,%s'" % (cx + 2.5, cy - 5, cx - 2.5, cy, cx + 2.5, cy + 5)]
    if kind == "chevronRight":
        return [s, "path 'M %s,%s L %s,%s L %s,%s'" % (cx - 2.5, cy - 5, cx + 2.5, cy, cx - 2.5, cy + 5)]
    raise ValueError(kind)


def alpha(colour, a):
    c = colour.lstrip("#")
    return "rgba(%d,%d,%d,%s)" % (int(c[0:2], 16), int(c[2:4], 16), int(c[4:6], 16), a)


# --- images ----------------------------------------------------------------------------------------

def main_window():
    w, h = 800, 560
    cmds = ["stroke none", "fill %s rectangle 0,0 %d,%d" % (CONTENT, w, h)]
    cmds += vgradient(0, 0, w, 104, CHROME_TOP, CHROME_BOTTOM)
    cmds += ["fill %s rectangle 0,32 %d,32.5" % (CHROME_LINE, w),
             "fill %s rectangle 0,103.5 %d,104" % ("#141B26", w),
             # Status bar.
             "fill %s rectangle 0,%d %d,%d" % (STATUS, h - 28, w, h),
             "fill %s rectangle 0,%s %d,%s" % (STATUS_LINE, h - 28, w, h - 27.5),
             # Application mark in the title bar.
             rrect(12, 8, 28, 24, 4, ACCENT),
             "fill none stroke white stroke-width 1.3 stroke-linecap round",
             "path 'M 14.8,19.6 Q 20,10.4 25.2,19.6'", "path 'M 17.4,19.6 Q 20,14.8 22.6,19.6'",
             "fill white stroke none circle 20,19.6 20,18.4"]
    render("wndMain", w, h, cmds, mask_radius=12, border=(alpha(OUTLINE, 0.55), 12))


def mini_window():
    """The mini window: the title band and one strip of buttons."""
    w, h = 800, 104
    cmds = ["stroke none"] + vgradient(0, 0, w, h, CHROME_TOP, CHROME_BOTTOM)
    cmds += ["fill %s rectangle 0,32 %d,32.5" % (CHROME_LINE, w),
             rrect(12, 8, 28, 24, 4, ACCENT),
             "fill none stroke white stroke-width 1.3 stroke-linecap round",
             "path 'M 14.8,19.6 Q 20,10.4 25.2,19.6'", "path 'M 17.4,19.6 Q 20,14.8 22.6,19.6'",
             "fill white stroke none circle 20,19.6 20,18.4"]
    render("wndMainMini", w, h, cmds, mask_radius=12, border=(alpha(OUTLINE, 0.55), 12))


def mini_popup():
    """The mini window's pop-up: the pages over a status strip."""
    w, h = 800, 420
    cmds = ["stroke none", "fill %s rectangle 0,0 %d,%d" % (CONTENT, w, h),
            "fill %s rectangle 0,%d %d,%d" % (STATUS, h - 28, w, h),
            "fill %s rectangle 0,%s %d,%s" % (STATUS_LINE, h - 28, w, h - 27.5)]
    render("wndMainPopup", w, h, cmds, mask_radius=12, border=(alpha(OUTLINE, 0.45), 12))


def card(name, w, h, radius=10):
    render(name, w, h, ["stroke none", "fill %s rectangle 0,0 %d,%d" % (CARD, w, h)], mask_radius=radius,
           border=(CARD_BORDER, radius))


def panel(name, w, h, header=36):
    """A dialog window: slate header over a light body."""
    cmds = ["stroke none", "fill %s rectangle 0,0 %d,%d" % (CONTENT, w, h)]
    if header:
        cmds += vgradient(0, 0, w, header, CHROME_TOP, CHROME_BOTTOM)
        cmds += ["fill %s rectangle 0,%s %d,%d" % ("#141B26", header - 0.5, w, header)]
    render(name, w, h, cmds, mask_radius=12, border=(alpha(OUTLINE, 0.5), 12))


def alert_panel():
    w, h = 400, 176
    cmds = ["stroke none", "fill %s rectangle 0,0 %d,%d" % (CARD, w, h),
            "fill %s rectangle 0,%d %d,%d" % ("#F5F7FA", h - 62, w, h),
            "fill %s rectangle 0,%s %d,%s" % ("#E6EAF0", h - 62, w, h - 61.5),
            "fill %s circle 44,50 44,30" % ACCENT_SOFT,
            "fill %s circle 44,50 44,36" % ACCENT,
            "fill white stroke none roundrectangle 42.2,45.5 45.8,60 1.6,1.6",
            "fill white circle 44,40.6 44,38.4"]
    render("alertPanel", w, h, cmds, mask_radius=12, border=(alpha(OUTLINE, 0.35), 12))


def push_button(name, fill, fill_down, border=None):
    w, h = 104, 30
    cmds = [rrect(0.5, 0.5, w - 0.5, h - 0.5, 7, fill, border or "none"),
            rrect(w + 0.5, 0.5, 2 * w - 0.5, h - 0.5, 7, fill_down, border or "none")]
    if border is None:
        # A hint of light along the top edge of the filled button.
        cmds += ["fill none stroke %s stroke-width 1 line 7,1.5 %d,1.5" % (alpha("#FFFFFF", 0.25), w - 7)]
    render(name, 2 * w, h, cmds)


def toolbar_button(name, kind):
    tw, th = 56, 44
    cmds = []
    chrome = rgb(mix(CHROME_TOP, CHROME_BOTTOM, 0.7))
    hover = rgb(mix(mix(CHROME_TOP, CHROME_BOTTOM, 0.7), (255, 255, 255), 0.12))
    # (icon colour, tile, what lies behind the icon)
    states = [(alpha(ICON, 0.88), None, chrome), ("white", ACCENT, ACCENT), (alpha(ICON, 0.32), None, chrome),
              ("white", hover, hover)]
    for i, (colour, tile, behind) in enumerate(states):
        x = i * tw
        if tile:
            cmds.append(rrect(x + 3, 2, x + tw - 3, th - 2, 9, tile))
        cmds += icon(kind, x + tw / 2, th / 2, colour, behind=behind)
    render(name, 4 * tw, th, cmds)


def titlebar_button(name, kind, hover):
    t = 24
    cmds = []
    for i, (colour, tile) in enumerate(((alpha(ICON, 0.75), None), ("white", alpha(hover, 0.85)),
                                        (alpha(ICON, 0.3), None), ("white", alpha(hover, 0.6)))):
        x = i * t
        if tile:
            cmds.append(rrect(x + 2, 2, x + t - 2, t - 2, 6, tile))
        cmds += icon(kind, x + t / 2, t / 2, colour, sw=1.5)
    render(name, 4 * t, t, cmds)


def drawer_button(name, kind):
    t = 24
    cmds = []
    for i, (colour, tile) in enumerate(((TEXT_2, None), ("white", ACCENT), (alpha(TEXT_2, 0.35), None),
                                        (TEXT, alpha(TEXT, 0.08)))):
        x = i * t
        if tile:
            cmds.append(rrect(x + 2, 1, x + t - 2, t - 1, 6, tile))
        cmds += icon(kind, x + t / 2, t / 2, colour, sw=1.6)
    render(name, 4 * t, t, cmds)


def provider_logo():
    w, h = 132, 40
    cmds = ["fill none stroke %s stroke-width 2 stroke-linecap round" % ACCENT,
            "path 'M 9,27 Q 17,13 25,27'", "path 'M 4,27 Q 17,4 30,27'",
            "fill %s stroke none circle 17,27 17,24.6" % ACCENT,
            "fill %s stroke none font DejaVu-Sans-Bold font-size 16 text 38,26 'connect'" % ICON]
    render("providerLogo", w, h, cmds)


def signal(level):
    w, h = 24, 18
    cmds = ["stroke none"]
    for i in range(5):
        bh = 4 + i * 3
        x = 2 + i * 4.2
        filled = i < level - 1
        cmds.append(rrect(x, h - 2 - bh, x + 2.8, h - 2, 1, ACCENT if filled else alpha(TEXT_2, 0.28)))
    render("rssi%d" % level, w, h, cmds)


def device_status(name, colour):
    """The modem in the status area: a stick modem outline with a state dot."""
    w, h = 22, 18
    cmds = ["fill none stroke %s stroke-width 1.4" % TEXT_2,
            "roundrectangle 2,5 16,13 2,2", "line 16,7.5 19,7.5", "line 16,10.5 19,10.5",
            "fill %s stroke %s stroke-width 1.2 circle 6.5,9 6.5,11.2" % (colour, STATUS)]
    render(name, w, h, cmds)


def sim_status(name, colour, cross=False):
    """The (U)SIM in the status area: a card with a cut corner, tinted by its state."""
    w, h = 16, 18
    cmds = ["fill %s stroke %s stroke-width 1.3" % (alpha(colour, 0.14), colour),
            "path 'M 3,2 L 10,2 L 13,5 L 13,16 L 3,16 Z'",
            "fill none stroke %s stroke-width 1 roundrectangle 5.5,8 10.5,13 1,1" % colour]
    if cross:
        cmds += ["stroke %s stroke-width 1.6 stroke-linecap round" % DANGER, "line 9,1 15,7", "line 15,1 9,7"]
    render(name, w, h, cmds)


def status_item_images():
    """The status item's pictures, beside the skin in the bundle's Resources: a still image per
    connection state and two frames for each kind of new message."""
    folder = os.path.dirname(os.path.abspath(OUT))
    t = 22
    modem = lambda colour: ["fill none stroke %s stroke-width 1.6" % colour, "roundrectangle 3,7 17,15 2,2",
                            "line 17,9.5 20,9.5", "line 17,12.5 20,12.5"]
    render("SysStatusItem", t, t, modem(TEXT_2), folder=folder)
    render("SysStatusItemConnected", t, t, modem(ACCENT) + ["fill %s stroke none circle 7.5,11 7.5,13" % ACCENT],
           folder=folder)
    render("SysStatusItemDisConnected", t, t, modem(alpha(TEXT_2, 0.5)), folder=folder)
    letter = lambda colour: ["fill none stroke %s stroke-width 1.6 stroke-linejoin round" % colour,
                             "roundrectangle 3,5 19,17 2,2", "path 'M 3.5,6 L 11,12 L 18.5,6'"]
    for i, colour in ((1, ACCENT), (2, alpha(ACCENT, 0.35))):
        render("Normal_SMS_Arrive%d" % i, t, t, letter(colour), folder=folder)
    for i, colour in ((1, "#E5A000"), (2, alpha("#E5A000", 0.35))):
        render("FlowValue_SMS_Arrive%d" % i, t, t, letter(colour) + ["fill %s stroke none circle 17,5 17,8" % colour],
               folder=folder)


# --- SkinInfo --------------------------------------------------------------------------------------

def colour(hex_, a=1):
    c = hex_.lstrip("#")
    return "%.3f %.3f %.3f %s" % (int(c[0:2], 16) / 255, int(c[2:4], 16) / 255, int(c[4:6], 16) / 255, a)


def font(size, bold=False):
    return {"FontName": "DejaVu Sans", "FontSize": size, "FontTrait": 2 if bold else 0}


def primary(**kw):
    return dict({"ImageName": "btnPrimary.png", "BtnStyle": "Horizontal", "TextColorString": colour("#FFFFFF"),
                 "Font": font(13, True)}, **kw)


def secondary(**kw):
    return dict({"ImageName": "btnSecondary.png", "BtnStyle": "Horizontal", "TextColorString": colour(TEXT),
                 "Font": font(13)}, **kw)


def label(size=13, bold=False, col=TEXT, **kw):
    return dict({"TextColorString": colour(col), "Font": font(size, bold)}, **kw)


TAB_IDS = ["Internet", "SMS", "Phonebook", "Statistics", "Setting", "HomePage", "DialRecord", "Call", "Record", "WLAN",
           "USSD1", "USSD2", "USSD3", "STK", "GPS"]


def skin_info():
    toolbar_title = {"Up": colour("#C9D3E1"), "In": colour("#FFFFFF"), "Down": colour("#FFFFFF")}
    tb = lambda image, group=True, default=False, **kw: dict(
        {"ImageName": image, "BtnImagePos": 5, "BtnTitleColorDict": toolbar_title, "Font": font(11)},
        **({"GroupBtnID": "MainTab", "GroupBtnDefault": default} if group else {}), **kw)
    info = {
        "allFont": {"FontName": "DejaVu Sans", "FontSize": 13},
        # Main window.
        "wndMain": {"ImageName": "wndMain.png"},
        "wndMainTitlebar": {"Left": 0, "Bottom": 528, "Width": 800, "Height": 32,
                            "PlacementSubviewMethod": ["PlacementToViewRight,8", "PlacementRefRight,4",
                                                       "PlacementCenterYRefTop"]},
        "btnTitlebarMinimize": {"ImageName": "btnMinimize.png"},
        "btnTitlebarClose": {"ImageName": "btnClose.png"},
        "labelMainTitle": label(13, True, "#E8EDF5", Left=200, Bottom=532, Width=400, Height=24),
        "wndMainToolbar": {"Left": 0, "Bottom": 456, "Width": 662, "Height": 72,
                           "PlacementSubviewMethod": ["PlacementToViewLeft,12", "PlacementRefLeft,2",
                                                      "PlacementCenterYRefTop"]},
        "btnInternet": tb("tbInternet.png", default=True),
        "btnSMS": tb("tbSMS.png"),
        "btnPhonebook": tb("tbPhonebook.png"),
        "btnStatistics": tb("tbStatistics.png"),
        "btnDialRecord": tb("tbDialRecord.png"),
        "btnSetting": tb("tbSetting.png"),
        "btnCall": tb("tbCall.png"),
        "btnRecord": tb("tbRecord.png"),
        "btnWLAN": tb("tbWLAN.png"),
        "btnUSSD1": tb("tbUSSD1.png"),
        "btnSTK": tb("tbSTK.png"),
        "btnGPS": tb("tbGPS.png"),
        "btnMainMyAccount": tb("tbAccount.png", group=False),
        "btnHelp": tb("tbHelp.png", group=False),
        "viewextProviderLogo": {"ImageName": "providerLogo.png", "Left": 664, "Bottom": 472},
        "lableTabviewTitle": label(16, True, TEXT, Left=24, Bottom=420, Width=520, Height=26),
        "wndMainTabviewBack": {"ImageName": "tabviewBack.png", "Left": 16, "Bottom": 36,
                               "ImageDict": {t: "tabviewBack.png" for t in TAB_IDS}},
        "wndMainTabview": {"Left": 24, "Bottom": 44, "Width": 752, "Height": 360},
        "wndMainBottomView": {"Left": 0, "Bottom": 0, "Width": 800, "Height": 28},
        "wndMainStatusView": {"Left": 12, "Bottom": 3, "Width": 560, "Height": 22},
        "labelBroadCast": label(11, False, TEXT_2, Left=580, Bottom=5, Width=180, Height=18),
        "btnDrawer": {"ImageName": "btnDrawerRight.png", "Left": 768, "Bottom": 2,
                      "ImageDict": {"Left": "btnDrawerLeft.png", "Right": "btnDrawerRight.png"}},
        "rightbar": {"ImageName": "rightbar.png", "Left": 632, "Bottom": 36},
        "drawContentView": {"ImageName": "drawer.png"},
        # Alert panel.
        "wndQELAlertPanel": {"ImageName": "alertPanel.png"},
        "labelQELAlertPanelTitle": label(15, True, TEXT, Left=84, Bottom=126, Width=292, Height=24),
        "labelQELAlertPanelMsg": label(13, False, TEXT_2, Left=84, Bottom=70, Width=292, Height=54),
        "btnAlertOK": primary(Left=280, Bottom=16),
        "btnAlertCancel": secondary(Left=164, Bottom=16),
        # PIN and PUK sheets, re-alert.
        "btnMainInputPinOK": primary(), "btnMainCancelInputPin": secondary(),
        "btnMainInputPukOK": primary(), "btnMainCancelInputPuk": secondary(),
        "btnMainYesofReAlert": primary(), "btnMainNOofReAlert": secondary(),
        # Operator close and device-state windows, registration window, other windows.
        "btnDialSpecialNumberForDidoro": primary(), "btnQuitAppCloseMainWindow": primary(),
        "btnShutDownCloseMainWindow": primary(), "btnCancelCloseMainWindow": secondary(),
        "viewOfCloseAppForDidoro": {"ImageName": "dialog.png"},
        "viewOfDevStateChangeForDidoro": {"ImageName": "dialog.png"},
        "wndOfUserRegisteForDidoro": {"ImageName": "wndRegister.png"},
        "btnOfSendUserInfoForDidoro": primary(), "btnOfExitUserInfoForDidoro": secondary(),
        "btnOfCalendarUserInfoForDidoro": secondary(),
        "wndOfdialRecord": {"ImageName": "wndDialRecord.png"},
        "wndOfSetting": {"ImageName": "wndSetting.png"},
        "ussdBalancewndSkin_": {"ImageName": "ussdBalance.png"},
    }
    # Mini window: the strip's buttons in a row; the pop-up holds the pages and the status area.
    info["wndMain"]["ImageDict"] = {"Main": "wndMain.png", "Mini": "wndMainMini.png"}
    info["wndMain"]["PlacementSubviewMethod"] = ["PlacementToViewLeft,12", "PlacementRefLeft,2",
                                                 "PlacementCenterYRefTop"]
    info["wndMainPopup"] = {"ImageName": "wndMainPopup.png"}
    info["imageviewSingal"] = {"ImageName": "rssi1.png", "ImageArray": ["rssi%d.png" % i for i in range(1, 7)]}
    # Ruvoz window: a fixed band of buttons at the top, the pages, a fixed band at the bottom.
    info["viewTopFixed"] = {"Left": 0, "Bottom": 456, "Width": 800, "Height": 72,
                            "PlacementSubviewMethod": ["PlacementToViewLeft,12", "PlacementRefLeft,2",
                                                       "PlacementCenterYRefTop"]}
    info["btnRuvozHome"] = tb("tbHelp.png", default=True)
    info["btnRuvozInternet"] = tb("tbInternet.png")
    info["btnRuvozSMS"] = tb("tbSMS.png")
    info["btnRuvozPhonebook"] = tb("tbPhonebook.png")
    info["btnDialConnectExt"] = tb("tbWLAN.png", group=False)
    info["labelNetworkStatus"] = label(13, True, "#E8EDF5")
    info["webViewInTopFixed"] = {"Width": 120, "Height": 40}
    info["viewMiddleChangeable"] = {"Left": 0, "Bottom": 28, "Width": 800, "Height": 428}
    info["tabItemHomePage"] = {"Left": 0, "Bottom": 0, "Width": 752, "Height": 360}
    info["webViewInHomePage"] = {"Left": 16, "Bottom": 16, "Width": 720, "Height": 328}
    info["viewBottomFixed"] = {"Left": 0, "Bottom": 0, "Width": 800, "Height": 28,
                               "PlacementSubviewMethod": ["PlacementToViewLeft,12", "PlacementRefLeft,6",
                                                          "PlacementCenterYRefTop"]}
    info["labelRuvozOperator"] = label(11, False, TEXT_2)
    # SMS tab: the page's controls take their look from the skin, their places from the page.
    info["btnSMSNewMessage"] = primary()
    for key in ["btnSMSCall", "btnSMSDelete", "btnSMSReply", "btnSMSFowardMessage", "btnSMSSaveTo", "btnSMSMoveTo",
                "btnSearchMsg"]:
        info[key] = secondary()
    for key in ["labelInboxMessageNum", "labelOutBoxMessageNum", "labelDraftBoxMessageNum"]:
        info[key] = label(12, False, TEXT_2)
    for key in ["matrixSMSSaveAtPos", "matrixSMSMessageBoxSelectAt", "tableMessageBoxList", "tableMessageText",
                "textSearchSMS", "comboSavePhonePopUp", "viewSMSTab"]:
        info[key] = {"Font": font(13)}
    # Phonebook tab and the contact picker.
    info["btnPBNew"] = primary()
    for key in ["btnPBEdit", "btnPBDelete", "btnPBSMS"]:
        info[key] = secondary()
    for key in ["matrixPBSavePosition", "tableGroupListPB", "tableUserListPB", "textSearchPB"]:
        info[key] = {"Font": font(13)}
    info["tfPBCapacity"] = label(12, False, TEXT_2)
    info["btnSelectWndOK"] = primary()
    for key in ["btnSelectWndCancel", "btnSelectWndAdd", "btnSelectWndRemove"]:
        info[key] = secondary()
    for key in ["labelSelectWndContact", "labelSelectWndSelected"]:
        info[key] = label(13, True, TEXT)
    for key in ["labelPinMain", "labelPukMain", "labelNewPinMain", "labelPukRepeatNewPinMain"]:
        info[key] = label(13, True, TEXT)
    for key in ["labelPleaseInputPinMain", "labelPleaseInputPukMain"]:
        info[key] = label(13, False, TEXT)
    for key in ["labelPinLeftTimesMain", "labelPukLeftTimesMain"]:
        info[key] = label(12, False, TEXT_2)
    return info


def main():
    os.makedirs(OUT, exist_ok=True)
    main_window()
    status_item_images()
    mini_window()
    mini_popup()
    card("tabviewBack", 768, 376)
    card("drawer", 200, 400, radius=12)
    card("rightbar", 152, 376)
    panel("dialog", 380, 200, header=0)
    panel("wndRegister", 420, 360)
    panel("wndDialRecord", 620, 420)
    panel("wndSetting", 560, 440)
    panel("ussdBalance", 320, 180)
    alert_panel()
    push_button("btnPrimary", ACCENT, ACCENT_DOWN)
    push_button("btnSecondary", "#FFFFFF", "#E9EDF3", border="#C9D2DE")
    for name, kind in [("tbInternet", "internet"), ("tbSMS", "sms"), ("tbPhonebook", "phonebook"),
                       ("tbStatistics", "statistics"), ("tbDialRecord", "records"), ("tbSetting", "settings"), ("tbAccount", "account"),
                       ("tbHelp", "help"), ("tbCall", "call"), ("tbRecord", "record"), ("tbWLAN", "wlan"),
                       ("tbUSSD1", "ussd"), ("tbSTK", "stk"), ("tbGPS", "gps")]:
        toolbar_button(name, kind)
    titlebar_button("btnClose", "close", DANGER)
    titlebar_button("btnMinimize", "minimize", "#5B6B84")
    drawer_button("btnDrawerLeft", "chevronLeft")
    drawer_button("btnDrawerRight", "chevronRight")
    provider_logo()
    for level in range(1, 7):
        signal(level)
    device_status("netstatus1", "#9AA5B4")
    device_status("netstatus2", "#22A06B")
    device_status("netstatusOfCheckModem", "#E5A000")
    sim_status("noSim", "#9AA5B4", cross=True)
    sim_status("simReady", "#22A06B")
    sim_status("CheckSIMStatus", "#E5A000")
    with open(os.path.join(OUT, "SkinInfo"), "wb") as f:
        plistlib.dump(skin_info(), f, sort_keys=True)


if __name__ == "__main__":
    main()
