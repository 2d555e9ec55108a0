"""What Orca says while a user works Mervel with the keys.

Run inside a D-Bus session on an X display: orca.py path/to/Mervel WORKDIR. Each step types
keys with xdotool and reads what Orca spoke for them from its debug log ("SPEECH OUTPUT").
A step whose words Orca's timing can drop on a loaded machine is tried again, and the test
requires a rate of successes; every wait is bounded.
"""
import os
import re
import subprocess
import sys
import threading
import time
import tty

APP, WORK = sys.argv[1], sys.argv[2]
LOG = os.path.join(WORK, "orca.log")
failures = []
procs = []


def start(args, log=None, **kw):
    out = open(log, "w") if log else subprocess.DEVNULL
    proc = subprocess.Popen(args, stdout=out, stderr=out, **kw)
    procs.append(proc)
    return proc


def spoken_since(offset):
    with open(LOG, encoding="utf-8", errors="replace") as log:
        log.seek(offset)
        text = log.read()
    return re.findall(r"SPEECH OUTPUT: '(.*)'(?:\s*\{.*\})?\s*$", text, re.M)


def copy_log(master):
    with open(LOG, "wb") as log:
        while True:
            try:
                chunk = os.read(master, 65536)
            except OSError:
                return
            if not chunk:
                return
            log.write(chunk)
            log.flush()


def log_size():
    return os.path.getsize(LOG) if os.path.exists(LOG) else 0


def keys(*names):
    for name in names:
        subprocess.run(["xdotool", "key", "--clearmodifiers", name], check=True, timeout=10)
        time.sleep(0.15)


def hear(what, *names, expect, timeout=15.0):
    """Types the keys, then waits for an utterance that matches expect; returns what was said."""
    offset = log_size()
    keys(*names)
    deadline = time.monotonic() + timeout
    said = []
    while time.monotonic() < deadline:
        said = spoken_since(offset)
        if any(re.search(expect, line) for line in said):
            return True, said
        time.sleep(0.1)
    return False, said


def step(what, *names, expect, tries=1, need=1, before=None):
    """A step that counts: of `tries` attempts, `need` must be heard; `before` undoes it."""
    heard = 0
    last = []
    attempts = 0
    for attempt in range(tries):
        attempts += 1
        if before and attempt > 0:
            before()  # back to where the step starts
        ok, said = hear(what, *names, expect=expect)
        heard += ok
        last = said
        if heard >= need:
            break
    verdict = "ok" if heard >= need else "FAIL"
    what = f"{what} (heard {heard} of {attempts} tries, {tries} allowed)"
    print(f"{verdict}: {what}, {need} needed; last heard: {last}", flush=True)
    if heard < need:
        failures.append(what)


def wait_window(name, timeout=30):
    out = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", name],
                         capture_output=True, text=True, timeout=timeout)
    found = out.stdout.split()
    if not found:
        raise SystemExit(f"no window named '{name}'")
    return found[0]


def focus_window(name):
    """There is no window manager: the keyboard goes where xdotool puts it."""
    subprocess.run(["xdotool", "windowfocus", "--sync", wait_window(name)], timeout=10)
    time.sleep(0.5)


def wait_for(what, *names, expect, timeout=25.0):
    """A step that happens once (a window opens, a page changes): one try, a long wait."""
    ok, said = hear(what, *names, expect=expect, timeout=timeout)
    print(f"{'ok' if ok else 'FAIL'}: {what}; heard: {said}", flush=True)
    if not ok:
        failures.append(what)


def tab_until(what, expect, key="Tab", most=8):
    """Moves the focus one key at a time until Orca names what was looked for."""
    for _ in range(most):
        ok, said = hear(what, key, expect=expect, timeout=8.0)
        if ok:
            print(f"ok: {what}; heard: {said}", flush=True)
            return
    print(f"FAIL: {what}; last heard: {said}", flush=True)
    failures.append(what)


def converter():
    # A denominator on "м": the unit is heard, though "м" is a letter of its name.
    wait_for("a category by Ctrl+Tab", *["ctrl+Tab"] * 10, expect=r"^Распределенные силы page tab")
    wait_for("into box 0", "Tab", expect=r"^Первое значение text")
    wait_for("into the numerator", "Tab", expect=r"^Единица первого значения combo box")
    time.sleep(3)  # the set-up's many notices are read first
    step("a denominator on м", "Tab", expect=r"^м, 1 м = 1 м", tries=3, need=2,
         before=lambda: keys("shift+Tab"))
    wait_for("back to another category", *["ctrl+shift+Tab"] * 7, expect=r"^Скорости page tab")
    wait_for("into box 0 again", "Tab", expect=r"^Первое значение text")
    keys("ctrl+a", "5", "0")
    wait_for("into its numerator", "Tab", expect=r"^Единица первого значения combo box")
    # Down in a closed drop-down speaks the row picked with its factor.
    step("Down in a drop-down", "Down", expect=r"^1 м = 1 м", tries=3, need=2,
         before=lambda: keys("Up"))
    # 50 м/час in box 0 is 0,05 км/час in box 1: Where am I in box 0 tells it.
    wait_for("back into box 0", "shift+Tab", expect=r"^Первое значение text")
    step("Where am I in box 0", "KP_Enter", expect=r"Результат: 0\.05 км/час", tries=3, need=2)


def menus_and_about():
    # F10 opens Файл as its access letter does, on its first item.
    wait_for("F10", "F10", expect=r"^Выход")
    wait_for("F10 then Right", "Right", expect=r"^Вызов справки")
    wait_for("the About box opens", "Down", "Return",
             expect=r"О программе Mervel dialog Mervel, версия 1\.0\.0")
    wait_for("the contacts", "Tab", expect=r"^Контакты read only text")
    wait_for("the contacts line by line", "Down", expect=r"^Эл\. почта")
    keys("Escape")
    focus_window("Mervel-Преобразование")


def help_window():
    keys("F1")
    focus_window("Справка Mervel")
    wait_for("into the contents", "shift+Tab", expect=r"^Содержание tree")
    wait_for("to the tab list", "shift+Tab", expect=r"page tab list")
    wait_for("the search tab", "Right", "Right", expect=r"^Поиск page tab")
    # The empty word box is announced; the search's outcome is spoken when it appears.
    wait_for("the empty search box", "Tab", expect=r"^Слова для поиска text")
    keys("z", "z")
    wait_for("nothing found", "Return", expect=r"Ничего не найдено")
    keys("ctrl+a", "k", "N")
    wait_for("pages found", "Return", expect=r"Найдено страниц: \d+")
    # The first page found is on show: the page says so when Tab reaches it.
    tab_until("a search result", expect=r"^Страница справки: (Моменты|Силы)")
    tab_until("back to the tab list", expect=r"page tab list")
    wait_for("the contents tab", "Left", "Left", expect=r"^Содержание page tab")
    wait_for("into the contents", "Tab", expect=r"^Содержание tree")
    keys("Home")
    wait_for("a contents topic", "Down", expect=r"^Работа с программой")
    offset = log_size()
    keys("Return")
    tab_until("the topic's page", expect=r"^Страница справки: Работа с программой")
    step("Down in a help page", "Down", expect=r"^Категории", tries=3, need=2,
         before=lambda: keys("ctrl+Home"))
    # A link: Tab selects it and says it; Return opens it, and the focus stays on the page.
    keys("ctrl+End")
    wait_for("Tab to a link", "shift+Tab", expect=r"^Категории и единицы$")
    wait_for("a link opened", "Return", "KP_Enter",
             expect=r"^Страница справки: Категории и единицы")
    # Opening pages never moved the screen reader into the tree, nor named the page before.
    moved = [line for line in spoken_since(offset) if "tree" in line]
    print(f"{'FAIL' if moved else 'ok'}: the tree kept out of the way; heard: {moved}")
    if moved:
        failures.append("opening a page moved the screen reader into the tree")


def main():
    # Orca, then the program, as on a desktop where the screen reader runs first.
    # Orca writes its log through a buffer that fills for seconds; written to a terminal, it
    # comes line by line, as it is spoken.
    master, slave = os.openpty()
    tty.setraw(slave)
    threading.Thread(target=copy_log, args=(master,), daemon=True).start()
    # One Orca runs per user: another one (another test run) is waited for, never replaced,
    # since replacing kills every Orca of the user.
    deadline = time.monotonic() + 300
    while subprocess.run(["pgrep", "-x", "orca"], capture_output=True).returncode == 0:
        if time.monotonic() > deadline:
            raise SystemExit("another Orca still runs after 300 s")
        time.sleep(1)
    start(["orca", "--debug-file", os.ttyname(slave)])
    deadline = time.monotonic() + 60
    while time.monotonic() < deadline and not (os.path.exists(LOG) and spoken_since(0)):
        time.sleep(0.2)
    offset = log_size()
    start([APP], log=os.path.join(WORK, "app.log"))
    focus_window("Mervel-Преобразование")
    # Keys count only once Orca has found the window and its focus.
    deadline = time.monotonic() + 60
    while not any("Категория величины" in line for line in spoken_since(offset)):
        if time.monotonic() > deadline:
            raise SystemExit(f"Orca never named the window; it said: {spoken_since(offset)}")
        time.sleep(0.2)
    time.sleep(1)
    if sys.argv[3:]:
        for line in sys.argv[3:]:
            exec(line)
        return
    converter()
    menus_and_about()
    help_window()


try:
    main()
finally:
    for proc in reversed(procs):
        proc.terminate()
    for proc in procs:
        try:
            proc.wait(5)
        except subprocess.TimeoutExpired:
            proc.kill()
print(f"{'FAILED' if failures else 'passed'}: {failures}")
sys.exit(1 if failures else 0)
