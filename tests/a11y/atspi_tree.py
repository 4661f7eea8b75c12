#!/usr/bin/python3
"""The launcher read as a screen reader reads it: its accessibility tree over AT-SPI.

Run by a11y_launcher.sh, inside a D-Bus session and an X server of its own with the accessibility
bus started. Usage: atspi_tree.py LAUNCHER

Builds a suite of eight components: one whose picture is missing (its error box comes at start-up),
one whose program is missing (its button is disabled), and two on a second page. Starts the
launcher in it and reads the tree at each moment of the table below, acting between moments as a
user does: closing the error box, pointing at a button, paging down, opening the information
windows from the Help menu and closing them with OK; File > Exit then ends the launcher cleanly.

With a translation file as its second argument (atspi_tree.py LAUNCHER TS), run under a locale of
that language, it reads the same suite in that language instead: the menu names are the ones the
translation gives, a button whose descriptor has a DESC for the language is described by it, and
one without falls back to its DESC.

Runs with Debian's /usr/bin/python3, which has python3-pyatspi; another python3 on PATH may not.
"""

import contextlib
import os
import shutil
import subprocess
import sys
import tempfile
import time
import xml.etree.ElementTree

import pyatspi
from gi.repository import GLib

# The suite: folder, picture file written, descriptor. Hex Viewer names a picture it lacks, Backup
# a program it lacks.
COMPONENTS = [
    ("Archiver", "pic.png",
     "IMG:pic.png\r\nEXE:run.sh\r\nDESC[de]:Packt Dateien und Ordner in ein Archiv und wieder "
     "aus.\r\nDESC:Packs files and folders into one archive and unpacks "
     "archives again, keeping names, dates and permissions as they were.\r\n"),
    ("Backup", "pic.png",
     "IMG:pic.png\r\nEXE:backup.sh\r\nDESC:Copies the folders you choose to another disk.\r\n"
     "DESC[de]:Kopiert die Ordner Ihrer Wahl auf ein anderes Laufwerk.\r\n"),
    ("Calculator", "calc.png",
     "IMG:calc.png\r\nEXE:run.sh\r\nDESC:Adds, subtracts, multiplies and divides, and keeps a "
     "tape of every step.\r\n"),
    ("Dictionary", "pic.png", "IMG:pic.png\r\nEXE:run.sh\r\nDESC:Looks up words.\r\n"),
    ("Editor", "pic.png", "IMG:pic.png\r\nEXE:run.sh\r\nDESC:Edits plain text files.\r\n"),
    ("Finder", "pic.png", "IMG:pic.png\r\nEXE:run.sh\r\nDESC:Finds files by name.\r\n"),
    ("Grapher", "pic.png", "IMG:pic.png\r\nEXE:run.sh\r\nDESC:Draws graphs of functions.\r\n"),
    ("Hex Viewer", "pic.png", "IMG:hexview.png\r\nEXE:run.sh\r\nDESC:Shows bytes.\r\n"),
]

# Sanitizer builds run several times slower: every limit is that many times longer.
SLOWDOWN = int(os.environ.get("KK_TEST_SLOWDOWN", "1"))
CAPTION = "Kestrelkit Launcher - Vessaly Software Solutions, Inc -  Version 1.1.0"
ABOUT = "About Kestrelkit Launcher"
HELP = "Getting Help From Vessaly Software Solutions, Inc."
RULE = "_" * 57
HELP_TERMS = (
    "This version of the Kestrelkit Launcher is provided as-is and free of charge and without "
    "warranty and/or support expressed or implied. By using this software you agree to indemnify "
    "Vessaly Software Solutions, Inc. and the author(s) of damages associated with the use of "
    "this software\r\n\r\nVessaly Software Solutions, Inc. can assist your organization in "
    "configuring this software by providing on-site support and/or training.  In addition, "
    "Vessaly Software can customize, modify and/or enhance this tool to better suite your "
    "organization.\r\n\r\n")
HELP_CONTACT = (
    "For more information on pricing, availability, end-user support and upgrade information "
    "relating to product features and/or Vessaly's support services, contact: ")
MISSING = "Its program is missing, so it cannot be started."

# One row per node, at the moment it is read: its depth (0 the window, 1 its children, and so on),
# role, name, description and text (None where not read), and the states it must have, "!" before
# one it must not have; "disabled" is neither enabled nor sensitive, and "announced" says that its
# text was announced as inserted since the moment before. The rows under a node are its children,
# all of them and in order; a node with no rows under it is not looked into.
N = None
TABLE = [
    # At start-up, before the window: the box for the component whose picture is missing.
    ("error box", 0, "alert", "Error::Kestrelkit", N, N, "showing"),
    ("error box", 1, "image", N, N, N, "showing"),
    ("error box", 1, "label", "Error::File not found: {suite}/Hex Viewer/hexview.png\r\n", N, N,
     "showing"),
    ("error box", 1, "panel", N, N, N, "showing"),
    ("error box", 2, "push button", "OK", N, N, "enabled showing"),

    # The window as it opens: the menu bar, the banner, the column from page up to page down, the
    # description box.
    ("first page", 0, "frame", CAPTION, N, N, "showing active"),
    ("first page", 1, "menu bar", N, N, N, "showing"),
    ("first page", 2, "menu item", "File", N, N, "enabled showing"),
    ("first page", 2, "menu item", "Help", N, N, "enabled showing"),
    ("first page", 1, "filler", N, N, N, "showing"),
    ("first page", 2, "image", "Vessaly Software Solutions", N, N, "showing"),
    ("first page", 2, "frame", "Components", N, N, "showing"),
    ("first page", 3, "push button", "Page up", "", N, "disabled showing"),
    ("first page", 3, "push button", "Archiver",
     "Packs files and folders into one archive and unpacks archives again, keeping names, dates "
     "and permissions as they were.", N, "enabled showing"),
    ("first page", 3, "push button", "Backup",
     "Copies the folders you choose to another disk. " + MISSING, N, "disabled showing"),
    ("first page", 3, "push button", "Calculator",
     "Adds, subtracts, multiplies and divides, and keeps a tape of every step.", N,
     "enabled showing"),
    ("first page", 3, "push button", "Dictionary", "Looks up words.", N, "enabled showing"),
    ("first page", 3, "push button", "Editor", "Edits plain text files.", N, "enabled showing"),
    ("first page", 3, "push button", "Page down", "", N, "enabled showing"),
    ("first page", 2, "frame", "Description panel", N, N, "showing"),
    ("first page", 3, "text", "Description", N, "Select the utility to run.\n",
     "showing read-only multi-line !editable"),

    # The pointer on Calculator: the box says so at once, and keeps no focus.
    ("after hover", 0, "frame", CAPTION, N, N, "showing"),
    ("after hover", 1, "menu bar", N, N, N, "showing"),
    ("after hover", 1, "filler", N, N, N, "showing"),
    ("after hover", 2, "image", N, N, N, "showing"),
    ("after hover", 2, "frame", "Components", N, N, "showing"),
    ("after hover", 2, "frame", "Description panel", N, N, "showing"),
    ("after hover", 3, "text", "Description", N,
     "   CALCULATOR Utility \n" + RULE + "\n"
     "Adds, subtracts, multiplies and divides, and keeps a\n tape of every step.\n\n"
     "   Executable: run.sh\n   Image: calc.png\n",
     "showing read-only multi-line !focused announced"),

    # Page down: Finder and Grapher in the first two places, then Hex Viewer's button, which
    # paging shows although its picture failed, and two empty places.
    ("second page", 0, "frame", CAPTION, N, N, "showing"),
    ("second page", 1, "menu bar", N, N, N, "showing"),
    ("second page", 1, "filler", N, N, N, "showing"),
    ("second page", 2, "image", N, N, N, "showing"),
    ("second page", 2, "frame", "Components", N, N, "showing"),
    ("second page", 3, "push button", "Page up", "", N, "enabled showing"),
    ("second page", 3, "push button", "Finder", "Finds files by name.", N, "enabled showing"),
    ("second page", 3, "push button", "Grapher", "Draws graphs of functions.", N,
     "enabled showing"),
    ("second page", 3, "push button", N, N, N, "showing"),
    ("second page", 3, "push button", N, N, N, "!showing"),
    ("second page", 3, "push button", N, N, N, "!showing"),
    ("second page", 3, "push button", "Page down", "", N, "disabled showing"),
    ("second page", 2, "frame", "Description panel", N, N, "showing"),

    # Help > About: the white panel's lines top to bottom, the notice, OK.
    ("about", 0, "dialog", ABOUT, N, N, "showing active"),
    ("about", 1, "frame", N, N, N, "showing"),
    ("about", 2, "label", "Kestrelkit Launcher", N, N, "showing"),
    ("about", 2, "label", "Version 1.1.0", N, N, "showing"),
    ("about", 2, "image", N, N, N, "showing"),
    ("about", 2, "label", "Vessaly Software Solutions, Inc.", N, N, "showing"),
    ("about", 2, "label",
     "Copyright \u00a9 2026 Vessaly Software Solutions, Inc. All rights reserved.", N, N,
     "showing"),
    ("about", 2, "label", "Programmed by: R. Ellwood   ", N, N, "showing"),
    ("about", 1, "text", "Notice", N,
     "This software is provided as-is, with no warranties and/or support expressed or implied.  "
     "By using this software, you agree to indemnify Vessaly Software Solutions and the "
     "author(s) of all damages associated with the use of this software.  \n\n"
     "This program is protected by copyright laws.  Copying or reselling this program, or any "
     "portion of it, unless otherwise noted, may result in severe civil and criminal penalties, "
     "and will be prosecuted to the maximum extent possible under the law.\n\n"
     "Email all bugs to: bugs@vessaly.example\n", "showing multi-line"),
    ("about", 1, "push button", "OK", N, N, "enabled showing focused"),

    # Help > Getting Help From Vessaly: the banner as a link to the address, the four texts from
    # the top, the band behind OK, OK.
    ("getting help", 0, "dialog", HELP, N, N, "showing active"),
    ("getting help", 1, "link", "https://www.vessaly.example/", "Click to goto www.vessaly.example",
     N, "showing"),
    ("getting help", 1, "frame", N, N, N, "showing"),
    ("getting help", 2, "label", HELP_TERMS, N, N, "showing"),
    ("getting help", 2, "label", HELP_CONTACT, N, N, "showing"),
    ("getting help", 2, "label", "Email: support@vessaly.example\r\nPhone: +1 (425) 555-0147", N,
     N, "showing"),
    ("getting help", 2, "label", "Submit bugs to: bugs@vessaly.example", N, N, "showing"),
    ("getting help", 1, "label", "", N, N, "showing"),
    ("getting help", 1, "push button", "OK", N, N, "enabled showing focused"),
]

failures = []
heard = []  # (role, name, text) of each text insertion announced
focused = []  # (role, name) of each node that announced it took the focus


class Abort(Exception):
    """A failure after which the check cannot go on."""


def fail(message):
    failures.append(message)
    print("FAIL: " + message, file=sys.stderr)


def note(message):
    print("-- " + message, flush=True)


def pump():
    """Delivers the events that have come in."""
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


def wait_for(seconds, probe):
    """Polls probe until it gives something true, or None after `seconds`."""
    deadline = time.monotonic() + seconds * SLOWDOWN
    while True:
        pump()
        try:
            result = probe()
        except Exception:  # a node that went away while it was read
            result = None
        if result:
            return result
        if time.monotonic() > deadline:
            return None
        time.sleep(0.05)


def on_text_inserted(event):
    try:
        # Qt hands paragraph separators for the box's line breaks.
        text = str(event.any_data).replace("\u2029", "\n")
        heard.append((event.source.getRoleName(), event.source.name, text))
    except Exception:
        pass


def on_focus(event):
    try:
        if event.detail1:
            focused.append((event.source.getRoleName(), event.source.name))
    except Exception:
        pass


def children(node):
    return [node.getChildAtIndex(i) for i in range(node.childCount)]


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "kestrelkit-launcher":
            return app
    return None


def window(role, name):
    app = application()
    if app is None:
        return None
    for node in children(app):
        if node is not None and node.getRoleName() == role and node.name == name and \
                node.getState().contains(pyatspi.STATE_SHOWING):
            return node
    return None


def search(node, role, name):
    """The first node below `node` with this role and name, depth first, or None."""
    for child in children(node):
        if child is None:
            continue
        if child.getRoleName() == role and child.name == name:
            return child
        found = search(child, role, name)
        if found is not None:
            return found
    return None


def find(node, role, name):
    found = search(node, role, name)
    if found is None:
        raise Abort("no %s %r in %r" % (role, name, node.name))
    return found


def wait_for_window(role, name):
    found = wait_for(20, lambda: window(role, name))
    if found is None:
        raise Abort("no %s %r on screen" % (role, name))
    return found


def has_state(node, state):
    if state == "disabled":
        return not (has_state(node, "enabled") or has_state(node, "sensitive"))
    return node.getState().contains(getattr(pyatspi, "STATE_" + state.upper().replace("-", "_")))


def text_of(node):
    text = node.queryText()
    return text.getText(0, text.characterCount)


def check_node(moment, path, node, row, suite):
    _, _, role, name, description, text, states = row
    where = "%s: %s" % (moment, path)
    if node.getRoleName() != role:
        fail("%s is a %s, not a %s" % (where, node.getRoleName(), role))
        return False
    if name is not None and node.name != name.format(suite=suite):
        fail("%s is named %r, not %r" % (where, node.name, name))
    if description is not None and node.description != description:
        fail("%s is described as %r, not %r" % (where, node.description, description))
    if text is not None and text_of(node) != text:
        fail("%s holds %r, not %r" % (where, text_of(node), text))
    for state in states.split():
        if state == "announced":
            if (role, node.name, text_of(node)) not in heard:
                fail("%s did not announce its text; heard %r" % (where, heard))
            continue
        wanted = not state.startswith("!")
        if has_state(node, state.lstrip("!")) != wanted:
            fail("%s is %s%s" % (where, "not " if wanted else "", state.lstrip("!")))
    return True


def check_moment(moment, root, suite):
    rows = [row for row in TABLE if row[0] == moment]
    # The rows under each row: `parents` holds the row at each depth above the current one.
    expected = {}  # a row -> the rows of its node's children
    parents = []
    for index, row in enumerate(rows):
        depth = row[1]
        del parents[depth:]
        if parents:
            expected.setdefault(parents[-1], []).append(index)
        parents.append(index)

    def walk(index, node, path):
        if not check_node(moment, path, node, rows[index], suite):
            return
        child_rows = expected.get(index)
        if not child_rows:
            return
        actual = children(node)
        if len(actual) != len(child_rows):
            fail("%s: %s has %d children (%s), not %d" % (
                moment, path, len(actual),
                ", ".join("%s %r" % (c.getRoleName(), c.name) for c in actual), len(child_rows)))
        for position, (child_row, child) in enumerate(zip(child_rows, actual)):
            label = rows[child_row][3]
            walk(child_row, child, "%s > %d %s" % (
                path, position, repr(label) if label is not None else rows[child_row][2]))

    walk(0, root, repr(rows[0][3]))
    note("%s: %d nodes read" % (moment, len(rows)))


def press(node):
    action = node.queryAction()
    for i in range(action.nActions):
        if action.getName(i) == "Press":
            action.doAction(i)
            return
    raise Abort("%r has no press action" % node.name)


def centre(node):
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return box.x + box.width // 2, box.y + box.height // 2


def xdotool(*args):
    subprocess.run(["xdotool"] + [str(a) for a in args], check=True)


def build_suite(folder, launcher):
    os.makedirs(folder)
    shutil.copy(launcher, folder)
    for name, picture, descriptor in COMPONENTS:
        component = os.path.join(folder, name)
        os.makedirs(component)
        with open(os.path.join(component, "kk.cfg"), "w", newline="") as out:
            out.write("NAME:%s\r\n%s" % (name, descriptor))
        subprocess.run(["convert", "-size", "40x30", "xc:#2040e0",
                        os.path.join(component, picture)], check=True)
        script = os.path.join(component, "run.sh")
        with open(script, "w") as out:
            out.write("#!/bin/sh\nexit 0\n")
        os.chmod(script, 0o755)


def choose(main, menu, keys):
    """Opens `menu` of the menu bar with the pointer and chooses an item with `keys`."""
    item = find(main, "menu item", menu)
    xdotool("mousemove", *centre(item), "click", "1")
    if not wait_for(5, lambda: has_state(children(item)[0], "showing")):
        raise Abort("the %s menu did not open" % menu)
    xdotool("key", *keys)


@contextlib.contextmanager
def launched(launcher, suite, work):
    """The launcher copied into `suite`, running until the block ends; its output is shown when
    a check failed."""
    log = open(os.path.join(work, "launcher.log"), "w+")
    process = subprocess.Popen([os.path.join(suite, os.path.basename(launcher))], cwd=work,
                               stdout=log, stderr=subprocess.STDOUT)
    try:
        yield process
    finally:
        if process.poll() is None:
            process.terminate()
            process.wait(10 * SLOWDOWN)
        log.seek(0)
        output = log.read()[-4000:]
        log.close()
        if failures and output:
            sys.stderr.write("the launcher's output:\n" + output)


def exit_cleanly(main, file_menu, process):
    """File > Exit (a separator, then Exit) ends the launcher with status 0."""
    choose(main, file_menu, ["Down", "Down", "Return"])
    try:
        if process.wait(10 * SLOWDOWN) != 0:
            fail("the launcher ended with status %d" % process.returncode)
    except subprocess.TimeoutExpired:
        fail("File > Exit did not end the launcher")


def run(launcher, work):
    suite = os.path.join(work, "suite")
    build_suite(suite, launcher)
    pyatspi.Registry.registerEventListener(on_text_inserted, "object:text-changed:insert")
    pyatspi.Registry.registerEventListener(on_focus, "object:state-changed:focused")
    started = time.monotonic()
    with launched(launcher, suite, work) as process:
        box = wait_for_window("alert", "Error::Kestrelkit")
        check_moment("error box", box, suite)
        press(find(box, "push button", "OK"))

        main = wait_for_window("frame", CAPTION)
        check_moment("first page", main, suite)

        del heard[:]
        calculator = find(main, "push button", "Calculator")
        x, y = centre(calculator)
        xdotool("mousemove", x, y)
        xdotool("mousemove", x + 2, y)
        description = find(main, "text", "Description")
        wait_for(5, lambda: text_of(description).startswith("   CALCULATOR"))
        wait_for(5, lambda: any(name == "Description" and text.startswith("   CALCULATOR")
                                for _, name, text in heard))
        check_moment("after hover", main, suite)

        # One key down from Calculator: the focus goes to the button reached, which a screen
        # reader hears by its name.
        del focused[:]
        xdotool("key", "Down")
        if not wait_for(5, lambda: focused and focused[-1] == ("push button", "Dictionary")):
            fail("after the Down key the focus went to %r, not to the Dictionary button" % focused)
        elif not has_state(find(main, "push button", "Dictionary"), "focused"):
            fail("the Dictionary button announced the focus but does not hold it")
        note("one key: the focus is on the button reached")

        press(find(main, "push button", "Page down"))
        wait_for(5, lambda: search(main, "push button", "Finder"))
        check_moment("second page", main, suite)

        choose(main, "Help", ["Up", "Return"])
        about = wait_for_window("dialog", ABOUT)
        check_moment("about", about, suite)
        press(find(about, "push button", "OK"))
        if not wait_for(10, lambda: window("dialog", ABOUT) is None):
            fail("OK did not close the About window")

        choose(main, "Help", ["Down", "Return"])
        getting_help = wait_for_window("dialog", HELP)
        check_moment("getting help", getting_help, suite)
        link = find(getting_help, "link", "https://www.vessaly.example/")
        actions = link.queryAction()
        if "Press" not in [actions.getName(i) for i in range(actions.nActions)]:
            fail("the banner's link cannot be followed")
        press(find(getting_help, "push button", "OK"))
        if not wait_for(10, lambda: window("dialog", HELP) is None):
            fail("OK did not close the getting-help window")
        note("read in %.1f s" % (time.monotonic() - started))

        # The File menu opens with a separator, then Exit. The launcher ends cleanly while its
        # tree is being read.
        exit_cleanly(main, "File", process)


def translations(ts_file):
    """What the translation file gives: (context, source) -> translation."""
    found = {}
    for context in xml.etree.ElementTree.parse(ts_file).getroot().iter("context"):
        name = context.findtext("name")
        for message in context.iter("message"):
            # Line breaks are kept as CR bytes, which the parser leaves out: none of the texts
            # looked up here has one.
            found[(name, message.findtext("source"))] = message.findtext("translation")
    return found


def run_translated(launcher, work, ts_file):
    """The suite read in the language of `ts_file`, which the locale of the run must name."""
    tr = translations(ts_file)
    caption = tr[("frmMain", "Kestrelkit Launcher - Vessaly Software Solutions, Inc - ")] + \
        tr[("frmMain", " Version ")] + "1.1.0"
    suite = os.path.join(work, "suite")
    build_suite(suite, launcher)
    with launched(launcher, suite, work) as process:
        box = wait_for_window("alert", tr[("ErrorTrap", "Error::Kestrelkit")])
        press(find(box, "push button", "OK"))
        main = wait_for_window("frame", caption)
        menus = [child.name for child in children(find_role(main, "menu bar"))]
        wanted = [tr[("frmMain", "File")], tr[("frmMain", "Help")]]
        if menus != wanted:
            fail("the menus are %r, not %r" % (menus, wanted))
        missing = tr[("Description", "Its program is missing, so it cannot be started.")]
        for name, description in [
                ("Archiver", "Packt Dateien und Ordner in ein Archiv und wieder aus."),
                ("Backup", "Kopiert die Ordner Ihrer Wahl auf ein anderes Laufwerk. " + missing),
                ("Calculator",
                 "Adds, subtracts, multiplies and divides, and keeps a tape of every step.")]:
            button = find(main, "push button", name)
            if button.description != description:
                fail("%s is described as %r, not %r" % (name, button.description, description))
        note("read in the translation's language")
        exit_cleanly(main, tr[("frmMain", "File")], process)


def find_role(node, role):
    for child in children(node):
        if child is not None and child.getRoleName() == role:
            return child
    raise Abort("no %s in %r" % (role, node.name))


def main():
    launcher = os.path.abspath(sys.argv[1])
    work = tempfile.mkdtemp()
    try:
        if len(sys.argv) > 2:
            run_translated(launcher, work, sys.argv[2])
        else:
            run(launcher, work)
    except Abort as abort:
        fail(str(abort))
    finally:
        shutil.rmtree(work, ignore_errors=True)
    if failures:
        print("%d failures" % len(failures), file=sys.stderr)
        return 1
    print("PASS")
    return 0


if __name__ == "__main__":
    sys.exit(main())
