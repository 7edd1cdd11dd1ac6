<?php
// Lists the uploaded songs, newest first, a page at a time, with a download link for each song
// script. index.php?before=<id> shows the page of songs older than that id.

declare(strict_types=1);

require dirname(__DIR__, 2) . '/lib/SongStore.php';

function e(string $text): string
{
    return htmlspecialchars($text, ENT_QUOTES | ENT_SUBSTITUTE | ENT_HTML5, 'UTF-8');
}

$before = null;
if (isset($_GET['before'])) {
    $before = filter_input(INPUT_GET, 'before', FILTER_VALIDATE_INT, ['options' => ['min_range' => 1]]);
    if (!is_int($before)) {
        plainAnswer(400, 'error: bad page');
    }
}
try {
    $songs = SongStore::open()->page($before);
} catch (Throwable $error) {
    error_log('index.php: ' . $error->getMessage());
    plainAnswer(500, 'error: the song list is unavailable');
}

$older = count($songs) > SongStore::PAGE_SIZE;
$songs = array_slice($songs, 0, SongStore::PAGE_SIZE);

header('Content-Type: text/html; charset=utf-8');
header("Content-Security-Policy: default-src 'none'; style-src 'unsafe-inline'");
header('X-Content-Type-Options: nosniff');
?>
<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<title>Uploaded songs</title>
<style>
body { font-family: sans-serif; margin: 2em; color: #222; }
table { border-collapse: collapse; }
th, td { border-bottom: 1px solid #ccc; padding: 0.4em 0.8em; text-align: left; vertical-align: top; }
pre { margin: 0; white-space: pre-wrap; font-family: inherit; }
</style>
</head>
<body>
<h1>Uploaded songs</h1>
<?php if ($songs === [] && $before === null): ?>
<p>No songs have been uploaded yet.</p>
<?php elseif ($songs === []): ?>
<p>No older songs.</p>
<?php else: ?>
<table>
<tr><th>Title</th><th>Artist</th><th>User</th><th>Lyrics</th><th>Uploaded (UTC)</th><th>File</th></tr>
<?php foreach ($songs as $song): ?>
<tr class="song" id="song-<?= (int)$song['id'] ?>">
<td class="title"><?= e($song['title']) ?></td>
<td class="artist"><?= e($song['artist']) ?></td>
<td class="user"><?= e($song['user']) ?></td>
<td class="lyrics"><pre><?= e($song['lyrics']) ?></pre></td>
<td class="time"><?= e($song['uploaded_at']) ?></td>
<td><a href="download.php?id=<?= (int)$song['id'] ?>"><?= e($song['file']) ?>.kds</a> (<?= (int)$song['size'] ?> bytes)</td>
</tr>
<?php endforeach; ?>
</table>
<?php if ($older): ?>
<p><a class="older" href="?before=<?= (int)end($songs)['id'] ?>">Older songs</a></p>
<?php endif; ?>
<?php endif; ?>
</body>
</html>
