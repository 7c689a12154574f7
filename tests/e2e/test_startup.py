"""OSTREL.EXE start-up under Wine: script loading failures, [INIT], a second start."""
from harness import wait_until

LOAD_FAILED = "スクリプトファイルを読み込めませんでした。\n　　　　　　　終了します。"


def test_script_without_options_section_reports_twice_and_ends(h):
    h.cd(script="[INIT]\nPRINT \"届かない\"\n")
    program = h.start()
    first = h.msgbox(press="OK")
    h.check_msgbox(first, "スクリプトファイルが異常です。", "Setup", icon="warning", buttons=["OK"])
    second = h.msgbox(press="OK")
    h.check_msgbox(second, LOAD_FAILED, "Setup", icon="warning", buttons=["OK"])
    h.check(program.wait(15) is not None, "OSTREL.EXE still runs after the load failure")
    h.check(h.no_msgbox(), "a third message box appeared ([INIT] must not run)")


def test_missing_script_reports_load_failure_only(h):
    h.cd(script=None)
    program = h.start()
    box = h.msgbox(press="OK")
    h.check_msgbox(box, LOAD_FAILED, "Setup", icon="warning")
    h.check(program.wait(15) is not None, "OSTREL.EXE still runs without a script")


def test_print_in_init_shows_text_with_empty_caption(h):
    h.cd(script="[OPTIONS]\n\n[INIT]\nPRINT \"ようこそ、テストです。\"\n")
    h.start()
    box = h.msgbox()
    h.screenshot("print")
    h.check_msgbox(box, "ようこそ、テストです。", "", icon="none", buttons=["OK"])
    h.ui("msgbox", "--press", "OK")


def test_syntax_error_on_line_12_names_the_line(h):
    lines = ["[OPTIONS]"] + ["; filler line %d" % n for n in range(2, 10)] + ["[INIT]", "; next: GOTO without its label", "GOTO", "PRINT \"not reached\""]
    assert lines[11] == "GOTO"
    h.cd(script="\n".join(lines) + "\n")
    h.start()
    box = h.msgbox(press="OK")
    h.check_msgbox(box, "文法エラーです。\n12行", "", icon="warning", buttons=["OK"])
    more = h.msgbox(timeout_ms=1500)
    h.check(more is None or more["text"] != "not reached", "the section went on after the syntax error")


def test_second_start_ends_at_once_while_first_runs(h):
    h.cd(script="[OPTIONS]\n[INIT]\nPRINT \"一つ目\"\n")
    first = h.start()
    box = h.msgbox()
    h.check_msgbox(box, "一つ目", "")
    h.check(h.wait_window(title="Tavrel SETUP") is not None, "the first installer has no frame window")
    second = h.start()
    h.check(second.wait(10) is not None, "the second OSTREL.EXE did not end")
    boxes = [w for w in h.windows() if w["class"] == "#32770"]
    h.check_equal(len(boxes), 1, "message boxes on screen after the second start")
    h.check(first.running(), "the first installer ended")
    h.ui("msgbox", "--press", "OK")
