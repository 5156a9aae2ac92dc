#!/usr/bin/env python3
"""Ends with status 0 when the display's status file STATUS shows every slot
filled: a competition title on its panel and lines loaded; with --goal, one
slot also holds a goal. A missing or half-written file is not filled.

  every_slot_filled.py STATUS [--goal]
"""
import json
import sys


def slots(status_path):
    """The slots of the status file STATUS; none while it is missing or half-written."""
    try:
        with open(status_path) as status_file:
            return json.load(status_file)["slots"]
    except (OSError, ValueError, KeyError):
        return []


def every_slot_filled(status_path, goal=False):
    shown = slots(status_path)
    filled = bool(shown) and all(slot["panel"]["title"] and slot["lines"] > 0 for slot in shown)
    return filled and (not goal or any(slot.get("goal") for slot in shown))


if __name__ == "__main__":
    sys.exit(0 if every_slot_filled(sys.argv[1], "--goal" in sys.argv[2:]) else 1)
