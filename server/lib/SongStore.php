<?php
// Storage of uploaded songs: one SQLite database in the data directory, which lies outside the
// served document root, so no uploaded byte is ever served or run except through download.php.

declare(strict_types=1);

final class SongStore
{
    public const MAX_SCRIPT_BYTES = 1048576;

    private PDO $db;

    public function __construct(string $dataDir)
    {
        if (!is_dir($dataDir) && !mkdir($dataDir, 0770, true) && !is_dir($dataDir)) {
            throw new RuntimeException('cannot create the data directory');
        }
        $this->db = new PDO('sqlite:' . $dataDir . '/songs.sqlite', null, null, [
            PDO::ATTR_ERRMODE => PDO::ERRMODE_EXCEPTION,
            PDO::ATTR_DEFAULT_FETCH_MODE => PDO::FETCH_ASSOC,
        ]);
        $this->db->exec('PRAGMA busy_timeout = 5000');
        $this->db->exec('CREATE TABLE IF NOT EXISTS songs (
            id INTEGER PRIMARY KEY AUTOINCREMENT,
            title TEXT NOT NULL,
            artist TEXT NOT NULL,
            user TEXT NOT NULL,
            lyrics TEXT NOT NULL,
            file TEXT NOT NULL,
            uploaded_at TEXT NOT NULL,
            script BLOB NOT NULL,
            script_name TEXT NOT NULL,
            script_sha256 TEXT NOT NULL,
            copy_name TEXT,
            copy_size INTEGER,
            copy_sha256 TEXT
        )');
    }

    // The data directory: $KAVENDRA_SONG_DATA, or server/data next to the document root.
    public static function dataDir(): string
    {
        $dir = getenv('KAVENDRA_SONG_DATA');
        return ($dir !== false && $dir !== '') ? $dir : dirname(__DIR__) . '/data';
    }

    /** @param array<string, mixed> $song */
    public function add(array $song): int
    {
        $insert = $this->db->prepare('INSERT INTO songs
            (title, artist, user, lyrics, file, uploaded_at, script, script_name, script_sha256,
             copy_name, copy_size, copy_sha256)
            VALUES (:title, :artist, :user, :lyrics, :file, :uploaded_at, :script, :script_name,
             :script_sha256, :copy_name, :copy_size, :copy_sha256)');
        foreach ($song as $key => $value) {
            $type = $key === 'script' ? PDO::PARAM_LOB
                : (is_int($value) ? PDO::PARAM_INT : (is_null($value) ? PDO::PARAM_NULL : PDO::PARAM_STR));
            $insert->bindValue(':' . $key, $value, $type);
        }
        $insert->execute();
        return (int)$this->db->lastInsertId();
    }

    /** @return list<array<string, mixed>> the songs without their scripts, newest first */
    public function all(): array
    {
        return $this->db->query('SELECT id, title, artist, user, lyrics, file, uploaded_at,
            length(script) AS size FROM songs ORDER BY id DESC')->fetchAll();
    }

    /** @return array<string, mixed>|null */
    public function find(int $id): ?array
    {
        $select = $this->db->prepare('SELECT file, script FROM songs WHERE id = ?');
        $select->execute([$id]);
        $row = $select->fetch();
        return $row === false ? null : $row;
    }
}

// A song script is text whose bracket nesting opens a "song" section at level 1.
function isSongScript(string $data): bool
{
    if ($data === '' || str_contains($data, "\0") || preg_match('//u', $data) !== 1) {
        return false;
    }
    $level = 0;
    $length = strlen($data);
    for ($i = 0; $i < $length; $i++) {
        $c = $data[$i];
        if ($c === '[') {
            $level++;
            if ($level === 1) {
                $end = strcspn($data, "\r\n", $i);
                if (str_contains(substr($data, $i + 1, $end - 1), 'song')) {
                    return true;
                }
            }
        } elseif ($c === ']') {
            $level--;
        }
    }
    return false;
}

function plainAnswer(int $status, string $text): never
{
    http_response_code($status);
    header('Content-Type: text/plain; charset=utf-8');
    header('X-Content-Type-Options: nosniff');
    echo $text;
    exit;
}
