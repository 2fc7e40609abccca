#!/usr/bin/env python3
"""Writes a UTF-8 server log of exactly SIZE bytes for the benchmarks:
timestamped lines of varying length and level, some in Korean.
SIZE is bytes, or a number with K, M or G (powers of 1024): 10G.
Usage: make_huge_log.py OUT SIZE

A few blocks of lines are made once; each block written is one of them with
its own date and hour put in, so even 10 GB is written at disk speed."""
import datetime
import random
import sys

BLOCK = 4 << 20
STAMP = b"@@@@@@@@@@@@@"  # "YYYY-MM-DD HH", replaced block by block

out = sys.argv[1]
text = sys.argv[2].upper()
scale = {"K": 1 << 10, "M": 1 << 20, "G": 1 << 30}.get(text[-1:], 1)
size = int(float(text.rstrip("KMG")) * scale)
random.seed(7)

levels = ["INFO"] * 12 + ["DEBUG"] * 6 + ["WARN"] * 2 + ["ERROR"]
parts = ["http", "db.pool", "auth", "cache", "scheduler", "mailer", "api.v2", "worker-3"]
messages = [
    "GET /api/v2/orders/{n} 200 {ms}ms",
    "POST /login user=user{n} from 10.0.{a}.{b} status={code}",
    "query took {ms}ms rows={n} sql=\"SELECT * FROM items WHERE id = {n}\"",
    "cache miss key=session:{n:x} size={n} bytes",
    "retrying job #{n} after timeout ({ms} ms), attempt {t} of 5",
    "사용자 user{n} 로그인 성공 (세션 {n:x})",
    "주문 {n}번 처리 완료: 결제 금액 {ms}원",
    "디스크 사용량이 {p}%를 넘었습니다: /var/lib/data",
    "연결이 끊어졌습니다 - 원격 10.0.{a}.{b}, {t}0초 후 다시 시도",
    "Traceback (most recent call last): File \"worker.py\", line {a}, in run",
    "",
]


def make_block():
    lines, offset = [], 0
    while offset < BLOCK:
        millis = offset * 3600000 // BLOCK
        n = random.randrange(1, 10**7)
        message = random.choice(messages).format(
            n=n, ms=random.randrange(1, 5000), a=random.randrange(256),
            b=random.randrange(256), p=random.randrange(70, 100), t=random.randrange(1, 6),
            code=random.choice([200, 200, 401, 403, 500]))
        line = "%s:%02d:%02d.%03d %-5s [%s] %s\n" % (
            STAMP.decode(), millis // 60000, millis // 1000 % 60, millis % 1000,
            random.choice(levels), random.choice(parts), message)
        lines.append(line.encode())
        offset += len(lines[-1])
    return b"".join(lines)


blocks = [make_block() for _ in range(8)]
hour = datetime.datetime(2026, 1, 1)
written = 0
with open(out, "wb", buffering=0) as f:
    while written < size:
        block = random.choice(blocks).replace(STAMP, hour.strftime("%Y-%m-%d %H").encode())
        if written + len(block) > size:
            block = block[: block.rfind(b"\n", 0, size - written) + 1]
            tail = size - written - len(block)
            block += b"." * (tail - 1) + b"\n" if tail else b""
        f.write(block)
        written += len(block)
        hour += datetime.timedelta(hours=1)
