#!/usr/bin/env python3
"""Writes the texts of the notice dialog, which opens when the last run did not end normally.

data/emergency.txt  the advice shown in the dialog, in the voice of the station's staff
data/support.txt    the questions that follow the log on the clipboard when the player mails
                    the help desk from the dialog

Both are Shift-JIS with CR LF line ends, as the dialog's text box and a mail body take them.
Only the standard library is used: python3 demo/generate_notice_texts.py
"""
import os

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.join(HERE, "data")

EMERGENCY = [
    "ご乗車のお客さまにお知らせします。",
    "前回の旅は、とちゅうで止まってしまったようです。",
    "（電源が切れた、画面が動かなくなった、強制終了したなど）",
    "",
    "・「ゲームを起動する」で、いつもどおり出発できます。",
    "　セーブしたデータはそのまま残っています。",
    "・何度も止まるときは、起動設定でウィンドウ表示にしたり、",
    "　画面を小さくしたりしてお試しください。",
    "・それでも直らないときは「サポートにメールを送る」を",
    "　押してください。前回の記録がクリップボードに入り、",
    "　メールソフトが開きます。本文に貼り付けてお送りください。",
    "",
    "ご迷惑をおかけして、申し訳ございません。",
]

SUPPORT = [
    "",
    "――――――――――――――――――――",
    "サポート窓口へのお問い合わせ",
    "上の記録はそのまま残して、下の質問にお答えください。",
    "",
    "■ 止まったとき、何をしていましたか：",
    "",
    "■ 何回目ですか（はじめて／ときどき／毎回）：",
    "",
    "■ お使いのパソコンと画面の設定（わかる範囲で）：",
    "",
    "ご協力ありがとうございます。――案内人より",
    "――――――――――――――――――――",
]


def write_text(name, lines):
    with open(os.path.join(DATA, name), "wb") as out:
        out.write("".join(line + "\r\n" for line in lines).encode("cp932"))


def main():
    os.makedirs(DATA, exist_ok=True)
    write_text("emergency.txt", EMERGENCY)
    write_text("support.txt", SUPPORT)


if __name__ == "__main__":
    main()
