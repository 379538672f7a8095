"""Reads and writes ID3v1 trailers with tools no one here wrote, for the tests.

read <tool> <file>: prints title, artist, album, year and comment as hex of
their Latin-1 bytes, then the genre code (255: none) and the track (0: none),
one per line. Tools: mutagen, eyed3, id3v2.
write <tool> <file> <title> <artist> <album> <year> <comment> <genre> <track>:
texts as hex of Latin-1 bytes. Tools: mutagen, eyed3, id3v2, lame (lame
encodes the file anew).
"""
import os
import subprocess
import sys

ENV = dict(os.environ, LC_ALL="C.UTF-8")


# Trailing blanks are the fill of a field, not part of its text.
def show(texts, genre, track):
    for text in texts:
        print((text or "").rstrip(" ").encode("latin-1").hex())
    print(genre)
    print(track)


def read_mutagen(path):
    import mutagen.id3
    tag = mutagen.id3.ID3(path)
    text = lambda key: str(tag[key]) if key in tag else ""
    comments = [str(frame) for key, frame in tag.items() if key.startswith("COMM")]
    genre = mutagen.id3.TCON.GENRES.index(tag["TCON"].genres[0]) if "TCON" in tag else 255
    track = int(str(tag["TRCK"])) if "TRCK" in tag else 0
    show([text("TIT2"), text("TPE1"), text("TALB"), text("TDRC"), comments[0] if comments else ""],
         genre, track)


def read_eyed3(path):
    import eyed3.id3
    eyed3.log.setLevel("ERROR")  # it warns of genre 255, which means no genre
    tag = eyed3.id3.Tag()
    tag.parse(path, eyed3.id3.ID3_V1)
    date = tag.getBestDate()
    comment = tag.comments[0].text if len(tag.comments) else ""
    genre = tag.genre.id if tag.genre is not None else 255
    show([tag.title, tag.artist, tag.album, str(date) if date else "", comment], genre,
         tag.track_num[0] or 0)


# id3v2 -l prints fixed columns: "Title  : %-30s  Artist: %-30s",
# "Album  : %-30s  Year: %-4s, Genre: %s (%d)", "Comment: %-30s  Track: %d"
# (the track only when there is one).
def read_id3v2(path):
    output = subprocess.run(["id3v2", "-l", path], env=ENV, capture_output=True,
                            check=True).stdout
    lines = {line[:7]: line for line in output.split(b"\n")}
    column = lambda line, start, width: line[start:start + width].rstrip(b" ").decode("latin-1")
    title, album, comment = lines[b"Title  "], lines[b"Album  "], lines[b"Comment"]
    genre = int(album[album.rindex(b"(") + 1:album.rindex(b")")])
    track = int(comment.split(b"Track: ")[1]) if b"Track: " in comment else 0
    show([column(title, 9, 30), column(title, 49, 30), column(album, 9, 30),
          column(album, 47, 4), column(comment, 9, 30)], genre, track)


def write_mutagen(path, texts, genre, track):
    import mutagen.id3
    from mutagen.id3 import COMM, TALB, TCON, TDRC, TIT2, TPE1, TRCK
    tag = mutagen.id3.ID3()
    for frame, text in zip((TIT2, TPE1, TALB, TDRC), texts):
        tag.add(frame(encoding=0, text=text))
    # Its ID3v1 writer takes the comment only from a frame stored as "COMM".
    tag["COMM"] = COMM(encoding=0, lang="eng", desc="", text=texts[4])
    if genre != 255:
        tag.add(TCON(encoding=0, text=mutagen.id3.TCON.GENRES[genre]))
    if track:
        tag.add(TRCK(encoding=0, text=str(track)))
    tag.save(path, v1=2)


def write_eyed3(path, texts, genre, track):
    import eyed3.core
    import eyed3.id3
    tag = eyed3.id3.Tag()
    tag.title, tag.artist, tag.album = texts[0], texts[1], texts[2]
    tag.recording_date = eyed3.core.Date(int(texts[3]))
    tag.comments.set(texts[4])
    tag.genre = eyed3.id3.Genre(id=genre) if genre != 255 else None
    tag.track_num = track or None
    tag.save(path, version=eyed3.id3.ID3_V1_1)


def write_id3v2(path, texts, genre, track):
    options = ["-t", "-a", "-A", "-y", "-c"]
    arguments = [value for pair in zip(options, texts) for value in pair]
    subprocess.run(["id3v2", "-1", *arguments, "-g", str(genre), "-T", str(track), path],
                   env=ENV, check=True)


def write_lame(path, texts, genre, track):
    options = ["--tt", "--ta", "--tl", "--ty", "--tc"]
    arguments = [value for pair in zip(options, texts) for value in pair]
    subprocess.run(["lame", "-r", "-s", "44.1", "--bitwidth", "16", "-m", "m", "--silent",
                    "--id3v1-only", *arguments, "--tg", str(genre), "--tn", str(track), "-",
                    path], input=bytes(88200), env=ENV, check=True, stderr=subprocess.DEVNULL)


mode, tool, path = sys.argv[1:4]
if mode == "read":
    globals()["read_" + tool](path)
else:
    texts = [bytes.fromhex(text).decode("latin-1") for text in sys.argv[4:9]]
    globals()["write_" + tool](path, texts, int(sys.argv[9]), int(sys.argv[10]))
