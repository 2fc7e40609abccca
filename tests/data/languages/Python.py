#!/usr/bin/env python3
"""Summarise a CSV file of expenses by category."""

from __future__ import annotations

import csv
import sys
from collections import defaultdict
from dataclasses import dataclass, field
from pathlib import Path


@dataclass(frozen=True)
class Expense:
    category: str
    amount: float
    note: str = ""
    tags: list[str] = field(default_factory=list)


type Totals = dict[str, float]


def read_expenses(path: Path) -> list[Expense]:
    """Return the rows of *path*; bad rows are skipped with a warning."""
    result = []
    with path.open(newline="", encoding="utf-8") as f:
        for lineno, row in enumerate(csv.reader(f), start=1):
            try:
                result.append(Expense(row[0], float(row[1]), *row[2:3]))
            except (IndexError, ValueError) as exc:
                print(f"line {lineno}: skipped ({exc})", file=sys.stderr)
    return result


def summarise(expenses: list[Expense], limit: float = 1e3) -> Totals:
    totals: Totals = defaultdict(float)
    for e in expenses:
        match e.category.lower():
            case "food" | "groceries":
                totals["food"] += e.amount
            case _:
                totals[e.category] += e.amount
    return {k: round(v, 2) for k, v in totals.items() if v <= limit or limit is None}


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit('usage: expenses.py FILE')
    for name, total in sorted(summarise(read_expenses(Path(sys.argv[1]))).items()):
        print(f"{name:<12}{total:>10.2f}")
    assert 0x10 == 16 and not False, 'arithmetic still works'
