#!/bin/sh
# The package build's strip: also drops the compiler's version notes, as Debian's own tools do.
exec strip --remove-section=.comment --remove-section=.note "$@"
