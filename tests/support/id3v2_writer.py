"""Writes an ID3v2 tag with mutagen, for the tests.

<file> <version> <frames>: puts an ID3v2.<version> tag (3 or 4) at the start
of the file, made of <frames>, a Python list of mutagen frames such as
"[TIT2(encoding=3, text='Titel')]". mutagen writes the frames sorted: the main
text frames first, then the others, shorter ones first.
"""
import sys

import mutagen.id3

path, version, frames = sys.argv[1:4]
tag = mutagen.id3.ID3()
for frame in eval(frames, vars(mutagen.id3)):
    tag.add(frame)
tag.save(path, v2_version=int(version), v1=0)
