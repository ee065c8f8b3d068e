#!/usr/bin/env bash
# Two copies of the real game press F2 over and over while another game of
# the family saves the same files as the family's Windows games do: it reads
# the file, empties it and writes it again in place, without a lock, a little
# at a time. Whatever the timing, the copies' saves never wipe the file: the
# other game's section, the best names and the counters stay; at worst a
# count of one side is lost where the other side's save landed on top.
set -euo pipefail
source "$(dirname "$0")/support/e2e_common.sh"

start_display 900x600
start_window_manager

mkdir -p "$work/game"
scores="$work/game/scores.ini"
settings="$work/game/Tolvane.ini"
{
    printf '[Tolvane...]\r\nGamesWas=150\r\nGamesSucc=40\r\nGamesEnd=20\r\n'
    printf '[Ravendell]\r\nGamesWas=100\r\n1Name=Rhea\r\n'
    printf '[Kelvor]\r\nGamesWas=50\r\nGamesSucc=13\r\nGamesEnd=5\r\n'
    for n in $(seq 13); do printf '%dName=Player %d\r\n%dDomLeft=%d\r\n%dTime=%d\r\n' "$n" "$n" "$n" "$n" "$n" $((100 + n)); done
} >"$scores"
printf '[Tolvane...]\r\nLaunches=1\r\nPicture=*none*\r\nPosition=tile\r\nBackColor=9\r\nLangPack=english\r\nBackSet=back002\r\nSetPack=*standart*\r\n[Ravendell]\r\nSpeed=3\r\n' >"$settings"

start_two_copies
sleep 0.5

# Ravendell: counts a game in both files' own keys, and writes each file
# back in place in small pieces, with pauses between them.
perl -e '
    $| = 1;
    my $stop = 0;
    $SIG{TERM} = sub { $stop = 1 }; # ends after the rewrite under way
    my ($scores, $settings) = @ARGV;
    sub rewrite {
        my ($path, $change) = @_;
        open(my $in, "<:raw", $path) or return;
        local $/; my $text = <$in>; close $in;
        return unless defined $text && length $text;
        $change->($text);
        open(my $out, "+<:raw", $path) or return;
        truncate($out, 0);
        my $half = int(length($text) / 2);
        syswrite($out, substr($text, 0, $half));
        select(undef, undef, undef, 0.003);
        syswrite($out, substr($text, $half));
        close $out;
    }
    until ($stop) {
        rewrite($scores, sub { $_[0] =~ s/(\[Ravendell\]\r\nGamesWas=)(\d+)/$1 . ($2 + 1)/e });
        select(undef, undef, undef, 0.004);
        rewrite($settings, sub { $_[0] =~ s/(\[Ravendell\]\r\nSpeed=)(\d+)/$1 . ($2 + 1)/e });
        select(undef, undef, undef, 0.004);
    }
' "$scores" "$settings" &
writer=$!
pids=("$writer" "${pids[@]}")

presses=15
for _ in $(seq $presses); do
    xdotool key --window "$window_a" F2
    xdotool key --window "$window_b" F2
    sleep 0.2
done
# SIGTERM saves the settings and the scores, as a close does.
for pid in "$pid_a" "$pid_b"; do kill -TERM "$pid"; done
for pid in "$pid_a" "$pid_b"; do wait "$pid" || fail "a copy ended with an error"; done
kill -TERM "$writer"
wait "$writer" || fail "the other game's writer failed"

value() { # FILE SECTION KEY: the first value of the key in the section
    awk -v s="[$2]" -v k="$3" 'BEGIN { RS = "\r\n" } /^\[/ { in_s = ($0 == s); next }
        in_s && index($0, k "=") == 1 { print substr($0, length(k) + 2); exit }' "$1"
}
[ "$(value "$scores" Ravendell 1Name)" = Rhea ] || fail "the other game's section was lost: $(cat "$scores")"
[ "$(value "$scores" Ravendell GamesWas)" -gt 100 ] || fail "the other game's count went back"
for n in $(seq 13); do
    [ "$(value "$scores" Kelvor "${n}Name")" = "Player $n" ] || fail "best entry $n was lost: $(cat "$scores")"
    [ "$(value "$scores" Kelvor "${n}Time")" = $((100 + n)) ] || fail "best entry $n changed"
done
kelvor=$(value "$scores" Kelvor GamesWas)
family=$(value "$scores" Tolvane... GamesWas)
[ "$kelvor" -gt 50 ] || fail "the game's count fell to $kelvor after $((2 * presses)) games"
[ "$family" -gt 150 ] || fail "the family's count fell to $family"
[ "$(value "$scores" Kelvor GamesSucc)" = 13 ] || fail "the successful games changed"
[ "$(value "$settings" Tolvane... BackColor)" = 9 ] || fail "the settings lost their colour: $(cat "$settings")"
[ "$(value "$settings" Tolvane... BackSet)" = back002 ] || fail "the settings lost their back"
[ "$(value "$settings" Tolvane... Launches)" = 3 ] || fail "the start count is $(value "$settings" Tolvane... Launches), not 3"
[ "$(value "$settings" Ravendell Speed)" -gt 3 ] || fail "the other game's settings were lost: $(cat "$settings")"
echo "counts: game $kelvor, family $family"
echo "1 passed, 0 failed"
