<?php
// The song server has one page: the list of uploaded songs.
header('Location: /songs/', true, 302);
