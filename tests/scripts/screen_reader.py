# What a screen reader finds in the running program over AT-SPI, and what the
# desktop's keys do there. Arguments: the program and a scratch folder.
import contextlib, os, subprocess, sys, time
import pyatspi
from gi.repository import GLib

program, work = sys.argv[1:3]
song = os.path.join(work, "lied.mp3")
with open(song, "wb") as f:  # 100 KB of audio, then a trailer titled "Alt"
    f.write(bytes(range(256)) * 400 + b"TAG" + b"Alt".ljust(124, b" ") + bytes([17]))
told = []  # the names of the progress bars whose value screen readers were told
pyatspi.Registry.registerEventListener(lambda e: told.append(e.source.name),
                                       "object:property-change:accessible-value")

def wait_for(what, found):
    for _ in range(400):
        while GLib.MainContext.default().iteration(False):
            pass
        with contextlib.suppress(GLib.GError):  # an object went away meanwhile
            if result := found():
                return result
        time.sleep(0.05)
    sys.exit("FAIL: " + what)

def find(root, role, name):
    return pyatspi.findDescendant(root, lambda a: a.getRoleName() == role and a.name == name)

def window(title, role="frame"):
    def shown():
        app = next((a for a in pyatspi.Registry.getDesktop(0) if a and a.name == "tagwerk"), None)
        return app and next((w for w in app if w.name == title and w.getRoleName() == role and
                             w.getState().contains(pyatspi.STATE_SHOWING)), None)
    return wait_for(f"no {role} '{title}'", shown)

def press(root, caption):
    find(root, "push button", caption).queryAction().doAction(0)

def keys(into, *names):
    wait_for(f"'{into.name}' not active", lambda: into.getState().contains(pyatspi.STATE_ACTIVE))
    subprocess.run(["xdotool", "key", *names], check=True)

def title_in_file():
    with open(song, "rb") as f:
        return f.read()[-125:-95].rstrip(b" ").decode("latin-1")

app = subprocess.Popen([program, song])
try:
    main = window("Tagwerk")
    # Qt names a drop-down list by its entry unless told otherwise before a screen reader asks.
    for role, name in [("text", "Titel:"), ("combo box", "Musikrichtung:")]:
        control = wait_for(f"no {role} '{name}'", lambda: find(main, role, name))
        if [r.getTarget(0).name for r in control.getRelationSet()
                if r.getRelationType() == pyatspi.RELATION_LABELLED_BY] != [name]:
            sys.exit(f"FAIL: '{name}' is not linked to its label")
    genre = find(main, "combo box", "Musikrichtung:").queryText()  # where Orca reads the entry
    if genre.getText(0, -1) != "Rock":  # the genre of the file it opened
        sys.exit(f"FAIL: the genre box reads '{genre.getText(0, -1)}'")
    logo = find(main, "progress bar", "Fortschritt insgesamt").queryValue()
    if (logo.minimumValue, logo.maximumValue) != (0, 329):
        sys.exit(f"FAIL: the logo goes from {logo.minimumValue} to {logo.maximumValue}")

    keys(main, "ctrl+o")
    press(window("Tagwerk: Datei auswählen..."), "Abbrechen")
    find(main, "text", "Titel:").queryEditableText().setTextContents("Neu")
    press(main, "ID3-Tag laden")
    question = window("Tagwerk: Meldung...", "dialog")
    wait_for("the question has no text", lambda: question.description.startswith("Sollen"))
    press(question, "Nein")
    keys(main, "ctrl+s")
    wait_for("Ctrl+S did not save", lambda: title_in_file() == "Neu")

    press(main, "ID3-Tag entfernen")
    wait_for("no progress was told", lambda: "Fortschritt insgesamt" in told)
    wait_for("the tag was not removed", lambda: os.path.getsize(song) == 102400)
    keys(main, *["Tab"] * 6, "ctrl+z")  # in the file list, not a text field with undo of its own
    notice = window("Tagwerk: Meldung...", "alert")
    wait_for("the notice has no text", lambda: notice.description.startswith("Die letzte Aktion"))
    wait_for("Ctrl+Z did not undo", lambda: title_in_file() == "Neu")
    print("PASS")
finally:
    app.terminate()
    app.wait()
