#!/bin/sh
# Stands in for xdg-open: records what it was asked to open, opens nothing.
printf -- '-\t-\t-\t%s\n' "$*" >>"$TAVIMO_BROWSER_LOG"
