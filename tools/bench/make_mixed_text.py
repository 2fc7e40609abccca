#!/usr/bin/env python3
"""Writes the same text of mixed Korean and ASCII twice, for the encoding
benchmarks: OUT.utf8.txt in UTF-8 (about SIZE megabytes, default 95, so that
the load asks no large-file question) and OUT.cp949.txt in CP949. Lines are
log-like: a time stamp, an ASCII tag and Korean words mixed with ASCII.
Usage: make_mixed_text.py OUT [SIZE_MB]"""
import random
import sys

out = sys.argv[1]
size = int(float(sys.argv[2]) * 1000 * 1000) if len(sys.argv) > 2 else 95 * 1000 * 1000
random.seed(11)
words = ["파일", "열기", "사용자", "한글", "텍스트", "오류가", "발생했습니다", "연결", "서버", "요청을",
         "처리", "완료", "데이터", "버퍼를", "비운다", "설정", "값", "읽기", "쓰기", "중입니다"]
ascii_words = ["id=42", "GET", "/api/v1/items", "ok", "timeout", "retry", "0x1F", "user", "path", "size=4096"]
lines = []
for n in range(5000):
    parts = []
    for k in range(random.randint(4, 14)):
        parts.append(random.choice(words) if random.random() < 0.55 else random.choice(ascii_words))
    lines.append("2026-12-07 12:%02d:%02d [%s] %s\n" % (n % 60, (n * 7) % 60,
                                                      random.choice(["INFO", "WARN", "ERROR"]), " ".join(parts)))
block = "".join(lines)
utf8 = block.encode("utf-8")
cp949 = block.encode("cp949")
with open(out + ".utf8.txt", "wb") as f8, open(out + ".cp949.txt", "wb") as fk:
    written = 0
    while written < size:
        f8.write(utf8)
        fk.write(cp949)
        written += len(utf8)
