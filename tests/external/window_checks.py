"""What a pupil meets where the program's windows meet: the number pad (a small window of its
own, above the main window), the message boxes a click opens over it, and the results window.
Each check reads the screen as the X server shows it, so that the same checks hold with and
without a window manager stacking the windows."""

import math

from desktop import (BLANK, BLUE, PAD, PAD_YELLOW, RED, WHITE, Tree, check, click, clicks, drag,
                     extents, face, inside, message_box, new_simplify_exercise, open_pad, ordered,
                     overlap, screen_when, shot, showing, wait_for, window, write,
                     x_window, x_window_at, xdo)

OVER_ZERO = "8/0 = "  # how the results window would begin a line for the given fraction 8/0


def main_window(app):
    return next(w for w in app if w is not None and w.name.startswith("Ruedecitas 1.1 - "))


def section_area(app):
    """The frame right of the menu that every section stands in: the largest one shown."""
    return max(Tree(app).shown("frame"), key=lambda n: extents(n)[2] * extents(n)[3])


def drag_pad_to(pad, centre):
    """Drags the pad by its background, 10 pixels inside its top-left corner, until its middle
    lies at `centre`."""
    px, py, w, h = extents(pad)
    x, y = centre[0] - w // 2, centre[1] - h // 2
    drag(px + 10, py + 10, *[(px + 10 + (x - px) * k // 4, py + 10 + (y - py) * k // 4)
                             for k in range(1, 5)])
    check(wait_for(lambda: extents(pad)[:2] == (x, y), 3),
          "the pad is dragged to %d,%d (it stands at %d,%d)" % (x, y, *extents(pad)[:2]))


def framed(box):
    """A window's rectangle with room above it for the title bar a window manager gives it."""
    return box[0], box[1] - 40, box[2], box[3] + 40


def pad_background(pad):
    """The pad's empty top-left corner, left of its display: all its own yellow."""
    x, y = extents(pad)[:2]
    return x + 3, y + 3, 100, 60


def yellow_in(pixel, box):
    """The pixels of the pad's background inside a rectangle, said for a failure."""
    points = [(i, j) for j in range(box[1], box[1] + box[3]) for i in range(box[0], box[0] + box[2])
              if pixel(i, j) == PAD_YELLOW]
    return "%d of them%s" % (len(points), ", the first at %d,%d" % points[0] if points else "")


def face_colours(pixel, button, *covering):
    """The colours of a button's face where none of the `covering` rectangles lies over it, as
    {colour: a point where it shows}; empty where they cover it all."""
    points = [p for p in face(extents(button)) if not any(inside(p, c) for c in covering)]
    return {pixel(*p): p for p in reversed(points)}


def close(app, found):
    """Closes a message box with its one button."""
    box, text, buttons = found
    if check(len(buttons) == 1, "the box has one button"):
        click(buttons[0])
    if not check(wait_for(lambda: message_box(app) is None, 5),
                 "closed, the box '%s' is gone" % text):
        xdo("key", "Return")  # a window over its button: the keyboard closes it, for what follows


def open_box(app, text):
    """The message box a click has just opened, when it says `text`, or None."""
    found = wait_for(lambda: message_box(app), 5)
    check(found and found[1] == text, "the box '%s' appears (%s)" % (text, found and found[1]))
    return found


def pad_put_away(app, tree):
    """A new exercise, or any other section, puts the pad away; a number shows it again where
    the pupil left it."""
    exercise = new_simplify_exercise(app, tree)
    pad = exercise and open_pad(app, exercise[1][0])
    if not pad:
        return
    x, y, w, h = extents(pad)
    drag_pad_to(pad, (x + w // 2 + 120, y + h // 2 + 40))  # a place of the pupil's own
    place = extents(pad)
    pad_window = x_window_at(place)
    check(pad_window, "the pad is an X window of the program (at %s)" % (place,))
    click(tree.button("SIMPLIFICA"))
    check(wait_for(lambda: not showing(pad), 3), "SIMPLIFICA again puts the pad away")
    if pad_window:
        check(wait_for(lambda: not x_window(pad_window)[1], 3), "its X window is unmapped")
    shot("4-pad-put-away")
    marks = ordered(Tree(app).shown("label", BLANK), 1)
    check(len(marks) == 2, "the new exercise's F1 reads ?/? (%s)" % [n.name for n in marks])
    if marks and open_pad(app, marks[0]):
        check(extents(pad) == place, "the pad shows again where it was (%s, was %s)"
              % (extents(pad), place))
    click(tree.button("Inicio"))
    check(wait_for(lambda: not showing(pad), 3), "another section, Inicio, puts the pad away")


def box_over_clicked_button(app, tree):
    """6/6 checked: a message box over the pad, and under it COMPROBAR still drawn."""
    exercise = new_simplify_exercise(app, tree)
    if not exercise or not write(app, exercise[0], (6, 6)):
        return
    pad = window(app, PAD)
    x, y, w, h = extents(main_window(app))
    drag_pad_to(pad, (x + w // 2, y + h // 2))  # where a message box opens: over the middle
    comprobar = ordered(Tree(app).shown("push button", "COMPROBAR"))[0]
    click(comprobar)
    found = open_box(app, "Numerador y denominador han de tener distinto número")
    if not found:
        return
    box, under = extents(found[0]), extents(pad)
    if check(overlap(box, under), "the box %s lies over the pad %s" % (box, under)):
        pixel = screen_when(lambda pixel: PAD_YELLOW not in pixel.colours(box, 2))
        shot("1-box-over-pad", pixel)
        check(PAD_YELLOW not in pixel.colours(box),
              "no pad yellow inside the box (%s)" % yellow_in(pixel, box))
        colours = pixel.colours(pad_background(pad), besides=[framed(box)])
        check(set(colours) == {PAD_YELLOW}, "the pad shows its yellow beside it (%s)" % colours)
        colours = face_colours(pixel, comprobar, framed(box), under)
        check(colours and set(colours) == {WHITE},
              "COMPROBAR's face shows white under the box (%s)" % colours)
    close(app, found)


def given_fraction_over_zero(app, tree):
    """8/0 = 8/? checked: "cannot be simplified", COMPROBAR red, no line in the results."""
    exercise = new_simplify_exercise(app, tree)
    if (not exercise or not write(app, exercise[0], (8, 0))
            or not write(app, exercise[1][:1], (8,))):
        return OVER_ZERO
    comprobar = ordered(Tree(app).shown("push button", "COMPROBAR"))[0]
    click(comprobar)
    found = open_box(app, "Esta fracción no se puede simplificar")
    if found:
        shot("5-over-zero-box")
        close(app, found)
        pixel = screen_when(lambda pixel: set(face_colours(pixel, comprobar)) == {RED})
        shot("5-over-zero-red", pixel)
        colours = face_colours(pixel, comprobar)
        check(set(colours) == {RED}, "then COMPROBAR shows red (%s)" % colours)
    return OVER_ZERO


def right_sum(app, tree):
    """Suma y resta: A and B brought to their least common denominator, the result written
    with its counters; on the click that makes it right, "Muy bien" over it, and the button
    just clicked blue on the screen."""
    click(tree.button("Suma y resta"))
    shown = Tree(main_window(app))
    labels = [n for n in shown.shown("label") if n.name.isdigit()]
    if not check(len(labels) == 6, "the lesson shows six numbers (%s)" % [n.name for n in labels]):
        return
    top = min(extents(n)[1] for n in labels)
    (a, b, a2, b2), (a_den, b_den) = (ordered([n for n in labels if (extents(n)[1] == top) == up])
                                      for up in (True, False))
    # The sign between A and B is drawn with lines: a plus has an upright one.
    left, right = extents(a)[0] + extents(a)[2], extents(b)[0]
    plus = any(left < extents(n)[0] < right and extents(n)[3] > extents(n)[2]
               for n in shown.shown("filler"))
    n1, d1, n2, d2 = (int(n.name) for n in (a, a_den, b, b_den))
    common = math.lcm(d1, d2)
    result = (n1 * common // d1) + (1 if plus else -1) * (n2 * common // d2)
    print("       %d/%d %s %d/%d = %d/%d" % (n1, d1, "+-"[not plus], n2, d2, result, common))
    a2_den, b2_den = ordered([n for n in shown.shown("push button") if n.name.isdigit()])[:2]
    clicks(a2_den, common // d1 - 1)
    clicks(b2_den, common // d2 - 1)
    check(wait_for(lambda: (a2_den.name, b2_den.name) == (str(common),) * 2, 5)
          and (a2.name, b2.name) == (str(n1 * common // d1), str(n2 * common // d2)),
          "A′ and B′ become %s/%s and %s/%s" % (a2.name, a2_den.name, b2.name, b2_den.name))
    shown = Tree(main_window(app))
    terms = ordered(shown.shown("push button", BLANK), 1)
    fives = [shown.button("Sumar cinco al %s del resultado" % term)
             for term in ("numerador", "denominador")]
    if not check(len(terms) == 2 and all(fives), "the result's terms show, still blank"):
        return
    numerator, denominator = terms
    count_to(numerator, fives[0], result)
    click(numerator)
    colours = face_colours(screen_when(
        lambda pixel: set(face_colours(pixel, numerator)) == {BLUE}), numerator)
    check(numerator.name == str(result) and set(colours) == {BLUE},
          "the right numerator %s shows blue (%s)" % (numerator.name, colours))
    count_to(denominator, fives[1], common)
    colours = face_colours(screen_when(
        lambda pixel: set(face_colours(pixel, denominator)) == {RED}), denominator)
    check(set(colours) == {RED}, "a wrong denominator, %s, shows red (%s)"
          % (denominator.name, colours))
    click(denominator)
    found = open_box(app, "Muy bien")
    if found:
        box = extents(found[0])
        pixel = screen_when(
            lambda pixel: set(face_colours(pixel, denominator, framed(box))) == {BLUE})
        shot("2-muy-bien", pixel)
        colours = face_colours(pixel, denominator, framed(box))
        check(colours and set(colours) == {BLUE},
              "under the box the denominator just clicked shows blue (%s)" % colours)
        close(app, found)


def count_to(term, five, value):
    """Brings a blank term of the sum's result to one below `value`: by fives, then by ones."""
    by_five = (value - 1) // 5
    clicks(five, by_five)
    clicks(term, value - 1 - 5 * by_five)
    expected = str(value - 1) if value > 1 else BLANK
    check(wait_for(lambda: term.name == expected, 5),
          "the term reads %s before its last click (%s)" % (expected, term.name))


def results_over_pad(app, tree):
    """The pad over the main window, even after a click on the main window; the results window,
    shown for the first time, over the pad. Answers the results window, or None."""
    exercise = new_simplify_exercise(app, tree)
    pad = exercise and open_pad(app, exercise[1][0])
    if not pad:
        return None
    x, y, w, h = extents(section_area(app))
    drag_pad_to(pad, (x + w // 2, y + h // 2))  # the results window opens over the middle
    click((x + w - 20, y + h - 20))  # nothing stands there but the section's own background
    background = pad_background(pad)
    pixel = screen_when(lambda pixel: set(pixel.colours(background)) == {PAD_YELLOW})
    shot("3-pad-over-main", pixel)
    colours = pixel.colours(background)
    check(set(colours) == {PAD_YELLOW},
          "after a click on the main window the pad still shows above it (%s)" % colours)
    check(not xdo("search", "--onlyvisible", "--name", "TUS RESULTADOS", check=False).stdout,
          "the results window has not been shown yet")
    click(tree.button("HISTORIAL"))
    results = wait_for(lambda: window(app, "TUS RESULTADOS"), 5)
    if not check(results and xdo("search", "--onlyvisible", "--name", "TUS RESULTADOS",
                                 check=False).stdout, "HISTORIAL opens the results window"):
        return None
    box, under = extents(results), extents(pad)
    if check(overlap(box, under), "the results window %s lies over the pad %s" % (box, under)):
        pixel = screen_when(lambda pixel: PAD_YELLOW not in pixel.colours(box, 2))
        shot("3-results-over-pad", pixel)
        check(PAD_YELLOW not in pixel.colours(box),
              "no pad yellow inside the results window (%s)" % yellow_in(pixel, box))
    return results
