<?php
// Sends one stored song script as a download: download.php?id=<id>.

declare(strict_types=1);

require dirname(__DIR__, 2) . '/lib/SongStore.php';

$id = filter_input(INPUT_GET, 'id', FILTER_VALIDATE_INT, ['options' => ['min_range' => 1]]);
if (!is_int($id)) {
    plainAnswer(400, 'error: bad song id');
}
try {
    $song = SongStore::open()->find($id);
} catch (Throwable $error) {
    error_log('download.php: ' . $error->getMessage());
    plainAnswer(500, 'error: the song is unavailable');
}
if ($song === null) {
    plainAnswer(404, 'error: no such song');
}

$name = $song['file'] . '.kds';
// A plain fallback name for old clients, the exact one for the others.
$plain = preg_replace('/[^A-Za-z0-9._-]/', '_', $name);
header('Content-Type: application/octet-stream');
header('X-Content-Type-Options: nosniff');
header('Content-Length: ' . strlen($song['script']));
header("Content-Disposition: attachment; filename=\"$plain\"; filename*=UTF-8''" . rawurlencode($name));
echo $song['script'];
