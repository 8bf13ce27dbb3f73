#!/usr/bin/python3
"""Questions about the stand-in services' log, for the shell tests.

  bus_log.py LOG count                       number of entries
  bus_log.py LOG scheduled SKIP TYPE SECONDS a ScheduleShutdown after entry
                                             SKIP of TYPE for now + SECONDS
                                             (within one second); prints how
                                             late logind got it, in ms
  bus_log.py LOG notified SKIP TEXT          a notification saying TEXT
"""

import json
import sys


def entries(path):
    with open(path, encoding="utf-8") as log:
        return [json.loads(line) for line in log if line.strip()]


def main():
    path, question = sys.argv[1], sys.argv[2]
    log = entries(path)
    if question == "count":
        print(len(log))
        return 0
    skip = int(sys.argv[3])
    for entry in log[skip:]:
        if question == "scheduled" and entry["call"] == "ScheduleShutdown" and \
                entry["type"] == sys.argv[4] and not entry["refused"]:
            error = entry["usec"] - entry["received_usec"] - int(sys.argv[5]) * 1_000_000
            if abs(error) <= 1_000_000:
                print(entry["received_usec"])
                return 0
        if question == "notified" and entry["call"] == "Notify" and entry["body"] == sys.argv[4]:
            return 0
    return 1


if __name__ == "__main__":
    sys.exit(main())
