#!/usr/bin/env python3
"""Writes a UTF-8 SQL script of exactly SIZE bytes for the benchmarks: table
definitions, INSERT rows with Korean strings, line comments and block
comments over several lines. SIZE is bytes, or a number with K, M or G
(powers of 1024): 1G.
With --open-comment the first line opens a block comment that never closes
(the rest holds no block comment), so that every line after it is inside
one comment.
Usage: make_sql_file.py OUT SIZE [--open-comment]

A few blocks of statements are made once and written again and again with
their own numbers put in, so that even 1 GB is written at disk speed."""
import random
import sys

BLOCK = 4 << 20
MARK = b"@@@@@@"  # the block's number, six digits

out = sys.argv[1]
text = sys.argv[2].upper()
scale = {"K": 1 << 10, "M": 1 << 20, "G": 1 << 30}.get(text[-1:], 1)
size = int(float(text.rstrip("KMG")) * scale)
open_comment = "--open-comment" in sys.argv[3:]
random.seed(11)

names = ["김민준", "이서연", "박지호", "최수아", "정예준", "강하은", "조도윤", "윤지우"]
cities = ["서울특별시 강남구", "부산광역시 해운대구", "대구광역시 수성구", "인천광역시 연수구",
          "광주광역시 북구", "대전광역시 유성구"]
notes = ["배송 전 연락 바랍니다", "문 앞에 놓아 주세요", "경비실에 맡겨 주세요",
         "주말 배송 희망", "포장을 꼼꼼히 해 주세요", ""]
block_comments = [
    "/* 주문 테이블: 고객의 주문을 한 줄에 하나씩 담는다.\n"
    " * 금액은 원 단위 정수, 날짜는 UTC로 저장한다.\n"
    " */\n",
    "/*\n * 고객 주소는 시/구/동까지만 적는다; 자세한 주소는\n"
    " * address_detail 테이블에 따로 둔다. (개인정보 보호)\n */\n",
    "/* TODO: 오래된 주문은 archive_orders로 옮길 것 */\n",
]


def statement(n):
    kind = random.randrange(20)
    if kind == 0:
        comment = "" if open_comment else random.choice(block_comments)
        return (comment +
                "CREATE TABLE IF NOT EXISTS orders_@@@@@@_%d (\n"
                "    id BIGINT PRIMARY KEY,\n"
                "    customer VARCHAR(40) NOT NULL, -- 고객 이름\n"
                "    city VARCHAR(80),\n"
                "    amount INTEGER DEFAULT 0,\n"
                "    note TEXT\n"
                ");\n" % n)
    if kind == 1:
        return "-- 배치 @@@@@@ 의 %d번째 묶음: 'quote' \"double\" 도 주석 안에서는 글자일 뿐\n" % n
    if kind == 2 and not open_comment:
        return "/* 한 줄 주석 블록 %d */ SELECT COUNT(*) FROM orders WHERE amount > %d;\n" % (
            n, random.randrange(100000))
    return ("INSERT INTO orders (id, customer, city, amount, note) VALUES "
            "(@@@@@@%04d, '%s', '%s', %d, '%s');\n" % (
                n % 10000, random.choice(names), random.choice(cities),
                random.randrange(1000, 2000000), random.choice(notes)))


def make_block():
    parts, length, n = [], 0, 0
    while length < BLOCK:
        part = statement(n).encode()
        parts.append(part)
        length += len(part)
        n += 1
    return b"".join(parts)


blocks = [make_block() for _ in range(6)]
written = 0
number = 0
with open(out, "wb", buffering=0) as f:
    if open_comment:
        head = "/* 이 주석은 닫히지 않는다: 아래의 모든 줄이 주석 안에 있다\n".encode()
        f.write(head[:size])
        written = min(len(head), size)
    while written < size:
        block = random.choice(blocks).replace(MARK, b"%06d" % (number % 1000000))
        number += 1
        if written + len(block) > size:
            block = block[: block.rfind(b"\n", 0, size - written) + 1]
            tail = size - written - len(block)
            block += b"-" * (tail - 1) + b"\n" if tail else b""
        f.write(block)
        written += len(block)
