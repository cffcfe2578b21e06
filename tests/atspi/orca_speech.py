#!/usr/bin/python3
"""What the screen reader Orca says while Wirevane is worked by keys alone.

Run inside an X server and a D-Bus session of its own, for example:
  xvfb-run -a dbus-run-session -- tests/atspi/orca_speech.py build/desktop/wirevane examples

Starts speech-dispatcher with a speech module that appends each utterance to a file instead of
playing it, Orca, and the program; then works through a short task by keys, as a user who
cannot see the screen would, and checks at each step that Orca says what that user must hear.
With --show, prints everything said; with --keep, keeps the folder with Orca's debug file."""

import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

STEP_SECONDS = 8


class Failure(Exception):
    pass


class Speech:
    """Orca, its speech-dispatcher, and what they said."""

    def __init__(self, folder, debug):
        self.folder = folder
        self.debug = debug
        self.said_file = os.path.join(folder, "speech.txt")
        self.debug_file = os.path.join(folder, "orca.log")
        self.heard = 0  # utterances already matched
        self.processes = []
        home = os.path.join(folder, "home")
        self.env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
                        XDG_DATA_HOME=os.path.join(home, ".local/share"),
                        XDG_CACHE_HOME=os.path.join(home, ".cache"),
                        XDG_STATE_HOME=os.path.join(home, ".local/state"),
                        XDG_RUNTIME_DIR=folder, GTK_A11Y="atspi", NO_AT_BRIDGE="0",
                        SPEECHD_ADDRESS="unix_socket:" + os.path.join(folder, "speechd.sock"))
        self.env.pop("QT_QPA_PLATFORM", None)  # the X server, so the accessibility bridge runs
        os.makedirs(home, exist_ok=True)

    def start(self):
        conf = os.path.join(self.folder, "speechd")
        os.makedirs(os.path.join(conf, "modules"))
        with open(os.path.join(conf, "speechd.conf"), "w") as f:
            f.write('Timeout 0\nLogLevel 1\nAudioOutputMethod "alsa"\nAudioALSADevice "null"\n'
                    'AddModule "file" "sd_generic" "file.conf"\nDefaultModule file\n'
                    'LanguageDefaultModule "en" "file"\nDefaultLanguage "en"\n')
        with open(os.path.join(conf, "modules", "file.conf"), "w") as f:
            f.write('GenericExecuteSynth "printf \'%%s\\\\n\' \\\'$DATA\\\' >> %s"\n'
                    'GenericLanguage "en" "en" "utf-8"\nAddVoice "en" "MALE1" "plain"\n'
                    'DefaultVoice "plain"\nGenericMaxChunkLength 10000\nGenericDelimiters ""\n'
                    % self.said_file)
        # A window manager gives the focus back to the window under a dialog that closed.
        self.processes.append(subprocess.Popen(
            ["xfwm4", "--compositor=off"], env=self.env,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        self.processes.append(subprocess.Popen(
            ["speech-dispatcher", "--run-single", "--timeout", "0", "--config-dir", conf,
             "--communication-method", "unix_socket", "--socket-path",
             os.path.join(self.folder, "speechd.sock"), "--log-dir", self.folder],
            env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        # Orca's debug file (for finding out why a test failed) slows it down.
        debug = ["--debug-file", self.debug_file] if self.debug else []
        self.processes.append(subprocess.Popen(
            ["orca"] + debug, env=self.env,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))

    def stop(self):
        # Orca does not end on SIGTERM.
        for process in reversed(self.processes):
            process.send_signal(signal.SIGKILL)
            process.wait()

    def everything(self):
        try:
            with open(self.said_file, errors="replace") as f:
                return f.read().splitlines()
        except FileNotFoundError:
            return []

    def wait_for(self, what, seconds=STEP_SECONDS):
        """Waits until Orca says each of the texts in what, in this order, after what was heard
        before (speech-dispatcher's module speaks a long utterance sentence by sentence)."""
        wanted = [what] if isinstance(what, str) else what
        end = time.monotonic() + seconds
        while True:
            said = self.everything()
            at, found = self.heard, 0
            while at < len(said) and found < len(wanted):
                if wanted[found] in said[at]:
                    found += 1
                else:
                    at += 1
            if found == len(wanted):
                self.heard = at + 1
                return
            if time.monotonic() > end:
                raise Failure(f"Orca did not say {wanted!r}; it said: {said[self.heard:]!r}")
            time.sleep(0.1)

    def quiet(self, seconds=0.6):
        """Lets Orca finish what it is saying; later checks start after it."""
        time.sleep(seconds)
        self.heard = len(self.everything())


def keys(*chords, pause=0.25):
    """Presses each chord ("ctrl+a", "F8", "Down"); a modifier is held down around the key, as
    Orca misses a chord whose parts arrive at once."""
    for chord in chords:
        parts = chord.split("+")
        for modifier in parts[:-1]:
            subprocess.run(["xdotool", "keydown", modifier], check=True)
        if parts[:-1]:
            time.sleep(0.05)
        subprocess.run(["xdotool", "key", parts[-1]], check=True)
        for modifier in reversed(parts[:-1]):
            subprocess.run(["xdotool", "keyup", modifier], check=True)
        time.sleep(pause)


def type_text(text):
    """Types text; a line break is the Return key (xdotool would send a line feed)."""
    for i, line in enumerate(text.split("\n")):
        if i > 0:
            keys("Return", pause=0.1)
        if line:
            subprocess.run(["xdotool", "type", "--delay", "40", line], check=True)


def task(speech, program, examples, show):
    env = dict(speech.env, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
    # Started in the examples' folder, where a file dialog opens.
    run = subprocess.Popen([os.path.abspath(program)], env=env, cwd=examples)
    try:
        steps(speech, examples)
    finally:
        if show:
            for line in speech.everything():
                print("said:", line)
        run.kill()
        run.wait()


def tab_to(speech, name, most=25):
    """Tabs until Orca says the name."""
    for _ in range(most):
        before = len(speech.everything())
        keys("Tab", pause=0)
        end = time.monotonic() + 2
        # The key's echo, then the control.
        while len(speech.everything()) < before + 2 and time.monotonic() < end:
            time.sleep(0.05)
        time.sleep(0.1)
        said = speech.everything()
        if any(name in line for line in said[before:]):
            speech.heard = len(said)
            return
    raise Failure(f"Tab never reached {name!r}")


def until_said(speech, act, what, attempts=3, seconds=4, undo=None):
    """Does act until Orca says what: a menu that the window system closed at once as it
    opened, or a Return taken by a completion, is tried again."""
    for attempt in range(attempts):
        speech.quiet()
        act()
        try:
            return speech.wait_for(what, seconds=seconds)
        except Failure:
            if attempt == attempts - 1:
                raise
            if undo:
                undo()


def steps(speech, examples):
    # The program opens with its about box; Escape closes it.
    speech.wait_for("Ok", seconds=30)
    speech.quiet()
    keys("Escape")
    speech.quiet(1)

    # File > New: the caret is in the object text, and Orca reads its lines as it moves.
    until_said(speech, lambda: keys("alt+f", "n"), "Object text",
               undo=lambda: keys("Escape", "Escape"))
    speech.quiet()
    type_text("1/1/1\n1,5/2/3\n\n1-2")
    speech.quiet()
    for line in ["blank", "1,5/2/3", "1/1/1"]:
        keys("Up")
        speech.wait_for(line)
    # F8 goes to the finding and says it.
    keys("F8")
    speech.wait_for('x "1,5" reads as 1')
    speech.quiet()

    # The animation: the picture has the keys and its description is said; an arrow turns it
    # and its new description is said.
    keys("ctrl+a")
    speech.wait_for(["3D-Animation", "noname.kfm: 2 points, 1 connection", "Turned 0 degrees"],
                    seconds=15)
    speech.quiet(1.5)
    keys("Right")
    speech.wait_for("Turned 2 degrees in the x-z plane")
    speech.quiet()

    # The picture's context menu by the keyboard.
    keys("shift+F10")
    speech.wait_for("Save picture as")
    keys("Escape")
    speech.quiet()

    # F6 to the navigation bar; the table opened from it takes the keys.
    keys("F6")
    speech.wait_for("Navigationbar")
    speech.quiet()
    tab_to(speech, "more settings")
    keys("space")
    speech.wait_for("More settings shown")
    speech.quiet()
    tab_to(speech, "3D-Data")
    speech.quiet()
    keys("space")
    speech.wait_for("Coordinates")
    speech.quiet()
    keys("Escape")  # the table closes: back in the bar
    speech.wait_for("3D-Data check box not checked")
    speech.quiet()

    # Escape on the bar ends the animation: back in the object text.
    keys("Escape")
    speech.wait_for("Object text")
    speech.quiet()


def main():
    show = "--show" in sys.argv
    program, examples = [a for a in sys.argv[1:] if not a.startswith("--")]
    folder = tempfile.mkdtemp(prefix="orca-speech-")
    speech = Speech(folder, "--keep" in sys.argv)
    started = time.monotonic()
    try:
        speech.start()
        task(speech, program, examples, show)
    except Failure as failure:
        print("Orca said, last:", *speech.everything()[-20:], sep="\n  ")
        print("FAIL:", failure)
        return 1
    finally:
        speech.stop()
        try:
            with open(speech.said_file) as f:
                print(f"speech-dispatcher spoke {len(f.readlines())} utterances")
        except FileNotFoundError:
            print("speech-dispatcher spoke nothing")
        if "--keep" not in sys.argv:
            shutil.rmtree(folder, ignore_errors=True)
        else:
            print("kept", folder)
    print(f"done in {time.monotonic() - started:.1f} s")
    return 0


if __name__ == "__main__":
    sys.exit(main())
