#!/usr/bin/env bash
# The Windows enlazor-cli.exe (ENLAZOR_WINDOWS_CLI) under Wine, in place of
# this process, so that its time and memory are the program's own.
exec wine "$ENLAZOR_WINDOWS_CLI" "$@"
