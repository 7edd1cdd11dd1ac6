<?php
// Accepts one song upload: the fields artist, user, title, file and text, the song script in the
// file part "upfile" and, optionally, its copy in "sifile". Answers "ok <id>" or an error.

declare(strict_types=1);

require dirname(__DIR__, 2) . '/lib/SongStore.php';

const MAX_NAME_CHARS = 200;
const MAX_LYRICS_CHARS = 65536;

function field(string $name, bool $required, int $maxChars): string
{
    $value = $_POST[$name] ?? null;
    if (!is_string($value)) {
        plainAnswer(400, "error: missing field $name");
    }
    if (preg_match('//u', $value) !== 1 || charCount($value) > $maxChars) {
        plainAnswer(400, "error: bad field $name");
    }
    if ($required && trim($value, ' ') === '') {
        plainAnswer(400, "error: empty field $name");
    }
    return $value;
}

function charCount(string $value): int
{
    return preg_match_all('/./su', $value);
}

// An ini size such as "8M" in bytes.
function iniBytes(string $size): int
{
    $units = ['K' => 1024, 'M' => 1048576, 'G' => 1073741824];
    $unit = strtoupper(substr($size, -1));
    return (int)$size * ($units[$unit] ?? 1);
}

/** @return array{name: string, data: string}|null */
function filePart(string $name, bool $required): ?array
{
    $part = $_FILES[$name] ?? null;
    if ($part === null && !$required) {
        return null;
    }
    if (!is_array($part) || !is_string($part['name'] ?? null) || !is_int($part['error'] ?? null)) {
        plainAnswer(400, "error: missing file $name");
    }
    if ($part['error'] === UPLOAD_ERR_INI_SIZE || $part['error'] === UPLOAD_ERR_FORM_SIZE
        || $part['size'] > SongStore::MAX_SCRIPT_BYTES) {
        plainAnswer(400, "error: file $name is larger than 1 MB");
    }
    if ($part['error'] !== UPLOAD_ERR_OK || !is_uploaded_file($part['tmp_name'])) {
        plainAnswer(400, "error: file $name did not arrive");
    }
    $data = file_get_contents($part['tmp_name']);
    if ($data === false || strlen($data) > SongStore::MAX_SCRIPT_BYTES) {
        plainAnswer(400, "error: file $name is unreadable or larger than 1 MB");
    }
    return ['name' => $part['name'], 'data' => $data];
}

if (($_SERVER['REQUEST_METHOD'] ?? '') !== 'POST') {
    header('Allow: POST');
    plainAnswer(405, 'error: use POST');
}
// A body over post_max_size leaves $_POST and $_FILES empty; say why.
$limit = iniBytes((string)ini_get('post_max_size'));
if ($limit > 0 && (int)($_SERVER['CONTENT_LENGTH'] ?? 0) > $limit) {
    plainAnswer(413, 'error: upload is too large');
}

$song = [
    'artist' => field('artist', true, MAX_NAME_CHARS),
    'user' => field('user', true, MAX_NAME_CHARS),
    'title' => field('title', true, MAX_NAME_CHARS),
    'file' => field('file', false, 255),
    'lyrics' => field('text', false, MAX_LYRICS_CHARS),
];
$script = filePart('upfile', true);
if (!isSongScript($script['data'])) {
    plainAnswer(400, 'error: upfile is not a song script');
}
$copy = filePart('sifile', false);

$song += [
    'uploaded_at' => gmdate('Y-m-d\TH:i:s\Z'),
    'script' => $script['data'],
    'script_name' => $script['name'],
    'script_sha256' => hash('sha256', $script['data']),
    'copy_name' => $copy['name'] ?? null,
    'copy_size' => $copy === null ? null : strlen($copy['data']),
    'copy_sha256' => $copy === null ? null : hash('sha256', $copy['data']),
];

try {
    $id = SongStore::open()->add($song);
} catch (Throwable $e) {
    error_log('upload.php: ' . $e->getMessage());
    plainAnswer(500, 'error: the song could not be stored');
}
plainAnswer(200, "ok $id");
