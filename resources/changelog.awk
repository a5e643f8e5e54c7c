# Reads CHANGELOG.md and writes one of:
#   format=debian     the Debian changelog of the native package (needs
#                     package and maintainer);
#   format=appstream  the <release> elements of the AppStream metainfo;
#   format=latest     the newest release's version and date, on one line.
#
#   awk -v format=debian -v package=rilo-mj -v maintainer='Name <address>' \
#       -f changelog.awk CHANGELOG.md
#
# After the title and any introduction, CHANGELOG.md holds releases, newest
# first: a heading "## VERSION - YYYY-MM-DD", then the changes as "- " bullets
# whose further lines are indented by two blanks. Any other line there is
# refused, so that nothing written for people is silently left out.

function fail(message) {
    printf "%s:%d: %s\n", FILENAME, FNR, message > "/dev/stderr"
    failed = 1
    exit 1
}

# "Fri, 11 Dec 2026 00:00:00 +0000" for "2026-12-11": the date form of the
# changelog's trailer line, its weekday by Sakamoto's rule.
function rfc2822(date,    y, m, d, offsets, weekday) {
    y = substr(date, 1, 4) + 0
    m = substr(date, 6, 2) + 0
    d = substr(date, 9, 2) + 0
    if (m < 1 || m > 12 || d < 1 || d > 31)
        fail("no such date: " date)
    split("0 3 2 5 0 3 5 1 4 6 2 4", offsets, " ")
    if (m < 3)
        y--
    weekday = (y + int(y / 4) - int(y / 100) + int(y / 400) + offsets[m] + d) % 7
    if (m < 3)
        y++
    return sprintf("%s, %02d %s %04d 00:00:00 +0000", substr("SunMonTueWedThuFriSat", weekday * 3 + 1, 3),
                   d, substr("JanFebMarAprMayJunJulAugSepOctNovDec", m * 3 - 2, 3), y)
}

function xml(text) {
    gsub(/&/, "\\&amp;", text)
    gsub(/</, "\\&lt;", text)
    gsub(/>/, "\\&gt;", text)
    return text
}

function end_item() {
    if (item != "")
        printf "          <li>%s</li>\n", xml(item)
    item = ""
}

function end_release() {
    if (version == "")
        return
    if (changes == 0)
        fail("release " version " lists no change")
    if (format == "debian") {
        printf "\n -- %s  %s\n", maintainer, rfc2822(date)
    } else if (format == "appstream") {
        end_item()
        print "        </ul>"
        print "      </description>"
        print "    </release>"
    }
}

function emit(line) {
    # lintian's limit for a changelog line
    if (length(line) > 80)
        fail("longer than 78 characters, too long for the Debian changelog")
    print line
}

BEGIN {
    if (format != "debian" && format != "appstream" && format != "latest") {
        print "changelog.awk: format must be debian, appstream or latest" > "/dev/stderr"
        failed = 1
        exit 2
    }
    if (format == "debian" && (package == "" || maintainer == "")) {
        print "changelog.awk: format=debian needs package and maintainer" > "/dev/stderr"
        failed = 1
        exit 2
    }
}

/^## / {
    if ($0 !~ /^## [0-9][0-9A-Za-z.+~]* - [0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]$/)
        fail("a release heading reads \"## VERSION - YYYY-MM-DD\"")
    end_release()
    if (releases > 0 && $4 > date)
        fail("release " $2 " is newer than the one above it")
    version = $2
    date = $4
    changes = 0
    releases++
    if (format == "latest") {
        print version, date
        exit 0
    } else if (format == "debian") {
        if (releases > 1)
            print ""
        printf "%s (%s) unstable; urgency=medium\n\n", package, version
    } else {
        printf "    <release version=\"%s\" date=\"%s\">\n", version, date
        print "      <description>"
        print "        <ul>"
    }
    next
}

version == "" { next }   # the title and the introduction

/^[ \t]*$/ { next }

/^- / {
    changes++
    text = substr($0, 3)
    if (format == "debian")
        emit("  * " text)
    else if (format == "appstream") {
        end_item()
        item = text
    }
    next
}

/^  [^ ]/ && changes > 0 {
    text = substr($0, 3)
    if (format == "debian")
        emit("    " text)
    else if (format == "appstream")
        item = item " " text
    next
}

{ fail("neither a release heading, a \"- \" bullet nor its indented continuation") }

END {
    if (failed)
        exit 1
    if (releases == 0) {
        printf "%s: no release heading \"## VERSION - YYYY-MM-DD\"\n", FILENAME > "/dev/stderr"
        exit 1
    }
    if (format != "latest")
        end_release()
}
