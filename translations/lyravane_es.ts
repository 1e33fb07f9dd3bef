<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es" sourcelanguage="es">
<context>
    <name>Core</name>
    <message>
        <source>the data ends early</source>
        <translation>los datos terminan antes de tiempo</translation>
    </message>
    <message>
        <source>Cannot open file &quot;%1&quot;. %2</source>
        <translation>No se puede abrir el archivo «%1». %2</translation>
    </message>
    <message>
        <source>Cannot create file &quot;%1&quot;. %2</source>
        <translation>No se puede crear el archivo «%1». %2</translation>
    </message>
    <message>
        <source>List index out of bounds (%1)</source>
        <translation>Índice de lista fuera de los límites (%1)</translation>
    </message>
    <message>
        <source>Stream read error</source>
        <translation>Error al leer los datos</translation>
    </message>
    <message>
        <source>Stream write error</source>
        <translation>Error al escribir los datos</translation>
    </message>
    <message>
        <source>Invalid MIDI file</source>
        <translation>Archivo MIDI no válido</translation>
    </message>
    <message>
        <source>Not a regular file</source>
        <translation>No es un archivo normal</translation>
    </message>
    <message>
        <source>The file is too large (more than %1 bytes)</source>
        <translation>El archivo es demasiado grande (más de %1 bytes)</translation>
    </message>
    <message>
        <source>another process holds it</source>
        <translation>otro proceso lo tiene bloqueado</translation>
    </message>
    <message>
        <source>It is neither a file, a pipe nor a character device</source>
        <translation>No es un archivo, ni una tubería, ni un dispositivo de caracteres</translation>
    </message>
    <message>
        <source>001.Piano de cola</source>
        <translation>001.Piano de cola</translation>
    </message>
    <message>
        <source>002.Piano brillante</source>
        <translation>002.Piano brillante</translation>
    </message>
    <message>
        <source>003.Piano de cola electrico</source>
        <translation>003.Piano de cola electrico</translation>
    </message>
    <message>
        <source>004.Piano honky-tonk</source>
        <translation>004.Piano honky-tonk</translation>
    </message>
    <message>
        <source>005.Piano electrico 1</source>
        <translation>005.Piano electrico 1</translation>
    </message>
    <message>
        <source>006.Piano electrico 2</source>
        <translation>006.Piano electrico 2</translation>
    </message>
    <message>
        <source>007.Clavecin</source>
        <translation>007.Clavecin</translation>
    </message>
    <message>
        <source>008.Clavinet</source>
        <translation>008.Clavinet</translation>
    </message>
    <message>
        <source>009.Celesta</source>
        <translation>009.Celesta</translation>
    </message>
    <message>
        <source>010.Glockenspiel</source>
        <translation>010.Glockenspiel</translation>
    </message>
    <message>
        <source>011.Caja de musica</source>
        <translation>011.Caja de musica</translation>
    </message>
    <message>
        <source>012.Vibrafono</source>
        <translation>012.Vibrafono</translation>
    </message>
    <message>
        <source>013.Marimba</source>
        <translation>013.Marimba</translation>
    </message>
    <message>
        <source>014.Xilofono</source>
        <translation>014.Xilofono</translation>
    </message>
    <message>
        <source>015.Campanas tubulares</source>
        <translation>015.Campanas tubulares</translation>
    </message>
    <message>
        <source>016.Dulcemele</source>
        <translation>016.Dulcemele</translation>
    </message>
    <message>
        <source>017.Organo de barras</source>
        <translation>017.Organo de barras</translation>
    </message>
    <message>
        <source>018.Organo percusivo</source>
        <translation>018.Organo percusivo</translation>
    </message>
    <message>
        <source>019.Organo de rock</source>
        <translation>019.Organo de rock</translation>
    </message>
    <message>
        <source>020.Organo de iglesia</source>
        <translation>020.Organo de iglesia</translation>
    </message>
    <message>
        <source>021.Armonio</source>
        <translation>021.Armonio</translation>
    </message>
    <message>
        <source>022.Acordeon</source>
        <translation>022.Acordeon</translation>
    </message>
    <message>
        <source>023.Armonica</source>
        <translation>023.Armonica</translation>
    </message>
    <message>
        <source>024.Bandoneon</source>
        <translation>024.Bandoneon</translation>
    </message>
    <message>
        <source>025.Guitarra de Nailon</source>
        <translation>025.Guitarra de Nailon</translation>
    </message>
    <message>
        <source>026.Guitarra de Acero</source>
        <translation>026.Guitarra de Acero</translation>
    </message>
    <message>
        <source>027.Guitarra de jazz</source>
        <translation>027.Guitarra de jazz</translation>
    </message>
    <message>
        <source>028.Guitarra electrica limpia</source>
        <translation>028.Guitarra electrica limpia</translation>
    </message>
    <message>
        <source>029.Guitarra apagada</source>
        <translation>029.Guitarra apagada</translation>
    </message>
    <message>
        <source>030.Guitarra saturada</source>
        <translation>030.Guitarra saturada</translation>
    </message>
    <message>
        <source>031.Guitarra distorsionada</source>
        <translation>031.Guitarra distorsionada</translation>
    </message>
    <message>
        <source>032.Armonicos de guitarra</source>
        <translation>032.Armonicos de guitarra</translation>
    </message>
    <message>
        <source>033.Bajo acustico</source>
        <translation>033.Bajo acustico</translation>
    </message>
    <message>
        <source>034.Bajo electrico (dedos)</source>
        <translation>034.Bajo electrico (dedos)</translation>
    </message>
    <message>
        <source>035.Bajo electrico (pua)</source>
        <translation>035.Bajo electrico (pua)</translation>
    </message>
    <message>
        <source>036.Bajo sin trastes</source>
        <translation>036.Bajo sin trastes</translation>
    </message>
    <message>
        <source>037.Bajo slap 1</source>
        <translation>037.Bajo slap 1</translation>
    </message>
    <message>
        <source>038.Bajo slap 2</source>
        <translation>038.Bajo slap 2</translation>
    </message>
    <message>
        <source>039.Bajo sintetizado 1</source>
        <translation>039.Bajo sintetizado 1</translation>
    </message>
    <message>
        <source>040.Bajo sintetizado 2</source>
        <translation>040.Bajo sintetizado 2</translation>
    </message>
    <message>
        <source>041.Violin</source>
        <translation>041.Violin</translation>
    </message>
    <message>
        <source>042.Viola</source>
        <translation>042.Viola</translation>
    </message>
    <message>
        <source>043.Violonchelo</source>
        <translation>043.Violonchelo</translation>
    </message>
    <message>
        <source>044.Contrabajo</source>
        <translation>044.Contrabajo</translation>
    </message>
    <message>
        <source>045.Cuerdas en tremolo</source>
        <translation>045.Cuerdas en tremolo</translation>
    </message>
    <message>
        <source>046.Cuerdas en pizzicato</source>
        <translation>046.Cuerdas en pizzicato</translation>
    </message>
    <message>
        <source>047.Arpa</source>
        <translation>047.Arpa</translation>
    </message>
    <message>
        <source>048.Timbales</source>
        <translation>048.Timbales</translation>
    </message>
    <message>
        <source>049.Conjunto de cuerdas 1</source>
        <translation>049.Conjunto de cuerdas 1</translation>
    </message>
    <message>
        <source>050.Conjunto de cuerdas 2</source>
        <translation>050.Conjunto de cuerdas 2</translation>
    </message>
    <message>
        <source>051.Cuerdas sintetizadas 1</source>
        <translation>051.Cuerdas sintetizadas 1</translation>
    </message>
    <message>
        <source>052.Cuerdas sintetizadas 2</source>
        <translation>052.Cuerdas sintetizadas 2</translation>
    </message>
    <message>
        <source>053.Coro Aahs</source>
        <translation>053.Coro Aahs</translation>
    </message>
    <message>
        <source>054.Voz Oohs</source>
        <translation>054.Voz Oohs</translation>
    </message>
    <message>
        <source>055.Voz sintetizada</source>
        <translation>055.Voz sintetizada</translation>
    </message>
    <message>
        <source>056.Golpe de orquesta</source>
        <translation>056.Golpe de orquesta</translation>
    </message>
    <message>
        <source>057.Trompeta</source>
        <translation>057.Trompeta</translation>
    </message>
    <message>
        <source>058.Trombon</source>
        <translation>058.Trombon</translation>
    </message>
    <message>
        <source>059.Tuba</source>
        <translation>059.Tuba</translation>
    </message>
    <message>
        <source>060.Trompeta con sordina</source>
        <translation>060.Trompeta con sordina</translation>
    </message>
    <message>
        <source>061.Trompa</source>
        <translation>061.Trompa</translation>
    </message>
    <message>
        <source>062.Seccion de metales</source>
        <translation>062.Seccion de metales</translation>
    </message>
    <message>
        <source>063.Metales sintetizados 1</source>
        <translation>063.Metales sintetizados 1</translation>
    </message>
    <message>
        <source>064.Metales sintetizados 2</source>
        <translation>064.Metales sintetizados 2</translation>
    </message>
    <message>
        <source>065.Saxo soprano</source>
        <translation>065.Saxo soprano</translation>
    </message>
    <message>
        <source>066.Saxo alto</source>
        <translation>066.Saxo alto</translation>
    </message>
    <message>
        <source>067.Saxo tenor</source>
        <translation>067.Saxo tenor</translation>
    </message>
    <message>
        <source>068.Saxo baritono</source>
        <translation>068.Saxo baritono</translation>
    </message>
    <message>
        <source>069.Oboe</source>
        <translation>069.Oboe</translation>
    </message>
    <message>
        <source>070.Corno ingles</source>
        <translation>070.Corno ingles</translation>
    </message>
    <message>
        <source>071.Fagot</source>
        <translation>071.Fagot</translation>
    </message>
    <message>
        <source>072.Clarinete</source>
        <translation>072.Clarinete</translation>
    </message>
    <message>
        <source>073.Flautin</source>
        <translation>073.Flautin</translation>
    </message>
    <message>
        <source>074.Flauta</source>
        <translation>074.Flauta</translation>
    </message>
    <message>
        <source>075.Flauta dulce</source>
        <translation>075.Flauta dulce</translation>
    </message>
    <message>
        <source>076.Flauta de pan</source>
        <translation>076.Flauta de pan</translation>
    </message>
    <message>
        <source>077.Botella soplada</source>
        <translation>077.Botella soplada</translation>
    </message>
    <message>
        <source>078.Shakuhachi</source>
        <translation>078.Shakuhachi</translation>
    </message>
    <message>
        <source>079.Silbido</source>
        <translation>079.Silbido</translation>
    </message>
    <message>
        <source>080.Ocarina</source>
        <translation>080.Ocarina</translation>
    </message>
    <message>
        <source>081.Solista 1 (cuadrada)</source>
        <translation>081.Solista 1 (cuadrada)</translation>
    </message>
    <message>
        <source>082.Solista 2 (sierra)</source>
        <translation>082.Solista 2 (sierra)</translation>
    </message>
    <message>
        <source>083.Solista 3 (caliope)</source>
        <translation>083.Solista 3 (caliope)</translation>
    </message>
    <message>
        <source>084.Solista 4 (chiff)</source>
        <translation>084.Solista 4 (chiff)</translation>
    </message>
    <message>
        <source>085.Solista 5 (charango)</source>
        <translation>085.Solista 5 (charango)</translation>
    </message>
    <message>
        <source>086.Solista 6 (voz)</source>
        <translation>086.Solista 6 (voz)</translation>
    </message>
    <message>
        <source>087.Solista 7 (quintas)</source>
        <translation>087.Solista 7 (quintas)</translation>
    </message>
    <message>
        <source>088.Solista 8 (bajo y solista)</source>
        <translation>088.Solista 8 (bajo y solista)</translation>
    </message>
    <message>
        <source>089.Fondo 1 (nueva era)</source>
        <translation>089.Fondo 1 (nueva era)</translation>
    </message>
    <message>
        <source>090.Fondo 2 (calido)</source>
        <translation>090.Fondo 2 (calido)</translation>
    </message>
    <message>
        <source>091.Fondo 3 (polisint.)</source>
        <translation>091.Fondo 3 (polisint.)</translation>
    </message>
    <message>
        <source>092.Fondo 4 (coro)</source>
        <translation>092.Fondo 4 (coro)</translation>
    </message>
    <message>
        <source>093.Fondo 5 (arco)</source>
        <translation>093.Fondo 5 (arco)</translation>
    </message>
    <message>
        <source>094.Fondo 6 (metalico)</source>
        <translation>094.Fondo 6 (metalico)</translation>
    </message>
    <message>
        <source>095.Fondo 7 (halo)</source>
        <translation>095.Fondo 7 (halo)</translation>
    </message>
    <message>
        <source>096.Fondo 8 (barrido)</source>
        <translation>096.Fondo 8 (barrido)</translation>
    </message>
    <message>
        <source>097.Efecto 1 (lluvia)</source>
        <translation>097.Efecto 1 (lluvia)</translation>
    </message>
    <message>
        <source>098.Efecto 2 (banda sonora)</source>
        <translation>098.Efecto 2 (banda sonora)</translation>
    </message>
    <message>
        <source>099.Efecto 3 (cristal)</source>
        <translation>099.Efecto 3 (cristal)</translation>
    </message>
    <message>
        <source>100.Efecto 4 (atmosfera)</source>
        <translation>100.Efecto 4 (atmosfera)</translation>
    </message>
    <message>
        <source>101.Efecto 5 (brillo)</source>
        <translation>101.Efecto 5 (brillo)</translation>
    </message>
    <message>
        <source>102.Efecto 6 (duendes)</source>
        <translation>102.Efecto 6 (duendes)</translation>
    </message>
    <message>
        <source>103.Efecto 7 (ecos)</source>
        <translation>103.Efecto 7 (ecos)</translation>
    </message>
    <message>
        <source>104.Efecto 8 (ciencia ficcion)</source>
        <translation>104.Efecto 8 (ciencia ficcion)</translation>
    </message>
    <message>
        <source>105.Sitar</source>
        <translation>105.Sitar</translation>
    </message>
    <message>
        <source>106.Banjo</source>
        <translation>106.Banjo</translation>
    </message>
    <message>
        <source>107.Shamisen</source>
        <translation>107.Shamisen</translation>
    </message>
    <message>
        <source>108.Koto</source>
        <translation>108.Koto</translation>
    </message>
    <message>
        <source>109.Kalimba</source>
        <translation>109.Kalimba</translation>
    </message>
    <message>
        <source>110.Gaita</source>
        <translation>110.Gaita</translation>
    </message>
    <message>
        <source>111.Violin popular</source>
        <translation>111.Violin popular</translation>
    </message>
    <message>
        <source>112.Shehnai</source>
        <translation>112.Shehnai</translation>
    </message>
    <message>
        <source>113.Campanillas</source>
        <translation>113.Campanillas</translation>
    </message>
    <message>
        <source>114.Agogo</source>
        <translation>114.Agogo</translation>
    </message>
    <message>
        <source>115.Tambores de acero</source>
        <translation>115.Tambores de acero</translation>
    </message>
    <message>
        <source>116.Caja china</source>
        <translation>116.Caja china</translation>
    </message>
    <message>
        <source>117.Tambor taiko</source>
        <translation>117.Tambor taiko</translation>
    </message>
    <message>
        <source>118.Tom melodico</source>
        <translation>118.Tom melodico</translation>
    </message>
    <message>
        <source>119.Tambor sintetizado</source>
        <translation>119.Tambor sintetizado</translation>
    </message>
    <message>
        <source>120.Platillo invertido</source>
        <translation>120.Platillo invertido</translation>
    </message>
    <message>
        <source>121.Ruido de trastes</source>
        <translation>121.Ruido de trastes</translation>
    </message>
    <message>
        <source>122.Respiracion</source>
        <translation>122.Respiracion</translation>
    </message>
    <message>
        <source>123.Orilla del mar</source>
        <translation>123.Orilla del mar</translation>
    </message>
    <message>
        <source>124.Canto de pajaro</source>
        <translation>124.Canto de pajaro</translation>
    </message>
    <message>
        <source>125.Timbre de telefono</source>
        <translation>125.Timbre de telefono</translation>
    </message>
    <message>
        <source>126.Helicoptero</source>
        <translation>126.Helicoptero</translation>
    </message>
    <message>
        <source>127.Aplausos</source>
        <translation>127.Aplausos</translation>
    </message>
    <message>
        <source>128.Disparo de arma</source>
        <translation>128.Disparo de arma</translation>
    </message>
    <message>
        <source>a variable-length number of more than four bytes</source>
        <translation>un número de longitud variable de más de cuatro bytes</translation>
    </message>
    <message>
        <source>no MThd header</source>
        <translation>falta la cabecera MThd</translation>
    </message>
    <message>
        <source>format %1, not 0 or 1</source>
        <translation>formato %1, en lugar de 0 o 1</translation>
    </message>
    <message>
        <source>SMPTE timing is not supported</source>
        <translation>no se admite la temporización SMPTE</translation>
    </message>
    <message>
        <source>time division 0</source>
        <translation>división de tiempo 0</translation>
    </message>
    <message>
        <source>a missing MTrk chunk</source>
        <translation>falta un bloque MTrk</translation>
    </message>
    <message>
        <source>an event time beyond the largest tick</source>
        <translation>un evento situado más allá del tick máximo</translation>
    </message>
    <message>
        <source>a data byte without a status byte</source>
        <translation>un byte de datos sin byte de estado</translation>
    </message>
    <message>
        <source>a status byte in place of a data byte</source>
        <translation>un byte de estado en lugar de un byte de datos</translation>
    </message>
    <message>
        <source>acompañamiento</source>
        <translation>acompañamiento</translation>
    </message>
    <message>
        <source>bajo</source>
        <translation>bajo</translation>
    </message>
    <message>
        <source>batería</source>
        <translation>batería</translation>
    </message>
    <message>
        <source>el patrón necesita un nombre</source>
        <translation>el patrón necesita un nombre</translation>
    </message>
    <message>
        <source>el nombre es demasiado largo: %1 bytes; caben %2</source>
        <translation>el nombre es demasiado largo: %1 bytes; caben %2</translation>
    </message>
    <message>
        <source>el nombre no puede llevar «|» ni caracteres de control</source>
        <translation>el nombre no puede llevar «|» ni caracteres de control</translation>
    </message>
    <message>
        <source>ya hay un patrón llamado «%1»</source>
        <translation>ya hay un patrón llamado «%1»</translation>
    </message>
    <message>
        <source>la biblioteca del usuario ya tiene 999 patrones de %1</source>
        <translation>la biblioteca del usuario ya tiene 999 patrones de %1</translation>
    </message>
    <message>
        <source>a unit record of an unknown version or size</source>
        <translation>un registro de partitura de versión o tamaño desconocidos</translation>
    </message>
    <message>
        <source>a property record of an unknown version</source>
        <translation>un registro de propiedades de versión desconocida</translation>
    </message>
    <message>
        <source>A song holds 1 to %1 entries</source>
        <translation>Una canción contiene de 1 a %1 elementos</translation>
    </message>
    <message>
        <source>not a song file</source>
        <translation>no es un archivo de canción</translation>
    </message>
    <message>
        <source>a song file of an unknown version</source>
        <translation>un archivo de canción de versión desconocida</translation>
    </message>
    <message>
        <source>%1 entries, not 1 to %2</source>
        <translation>%1 elementos, en lugar de 1 a %2</translation>
    </message>
    <message>
        <source>the song does not start with its properties</source>
        <translation>la canción no empieza con sus propiedades</translation>
    </message>
    <message>
        <source>fewer locks than the song has bars</source>
        <translation>hay menos bloqueos que compases en la canción</translation>
    </message>
    <message>
        <source>more locks than the song has bars</source>
        <translation>hay más bloqueos que compases en la canción</translation>
    </message>
    <message>
        <source>A music unit without properties cannot be rendered</source>
        <translation>No se puede generar una partitura sin propiedades</translation>
    </message>
    <message>
        <source>The rendering was cancelled</source>
        <translation>Se canceló la generación del sonido</translation>
    </message>
    <message>
        <source>the Ogg encoder wrote something not a page</source>
        <translation>el codificador Ogg escribió algo que no es una página</translation>
    </message>
    <message>
        <source>the Ogg encoder went back in its file</source>
        <translation>el codificador Ogg retrocedió en su archivo</translation>
    </message>
    <message>
        <source>A WAV file cannot be written to a pipe or a terminal: its header is completed at the end</source>
        <translation>No se puede escribir un archivo WAV en una tubería ni en un terminal: su cabecera se completa al final</translation>
    </message>
    <message>
        <source>the Ogg encoder left a page unfinished</source>
        <translation>el codificador Ogg dejó una página sin terminar</translation>
    </message>
    <message>
        <source>The audio file %1 is not a regular file; the file output writes a WAV file there</source>
        <translation>El archivo de audio %1 no es un archivo normal; la salida a archivo escribe allí un archivo WAV</translation>
    </message>
    <message>
        <source>No audio output could be opened (tried %1: %2). Connect a sound device or start the sound server (PipeWire or PulseAudio); lyravane-cli render writes a WAV file without one.</source>
        <translation>No se pudo abrir ninguna salida de audio (se probó %1: %2). Conecte un dispositivo de sonido o inicie el servidor de sonido (PipeWire o PulseAudio); lyravane-cli render escribe un archivo WAV sin necesitarlos.</translation>
    </message>
    <message>
        <source>The FluidSynth library could not be loaded (%1): install the package libfluidsynth3 (sudo apt install libfluidsynth3), and fluid-soundfont-gm for its instruments</source>
        <translation>No se pudo cargar la biblioteca FluidSynth (%1): instale el paquete libfluidsynth3 (sudo apt install libfluidsynth3) y, para sus instrumentos, fluid-soundfont-gm</translation>
    </message>
    <message>
        <source>The FluidSynth library lacks %1: install FluidSynth 2.2 or later (package libfluidsynth3)</source>
        <translation>A la biblioteca FluidSynth le falta %1: instale FluidSynth 2.2 o posterior (paquete libfluidsynth3)</translation>
    </message>
    <message>
        <source>The loudness meter cannot measure this sound</source>
        <translation>El medidor de sonoridad no puede medir este sonido</translation>
    </message>
    <message>
        <source>Nothing to play: no MIDI file is open</source>
        <translation>No hay nada que reproducir: no hay ningún archivo MIDI abierto</translation>
    </message>
    <message>
        <source>Nothing to loop: the stretch to repeat is empty</source>
        <translation>No hay nada que repetir: el tramo que se repite está vacío</translation>
    </message>
    <message>
        <source>The synthesiser failed while rendering%1</source>
        <translation>El sintetizador falló al generar el sonido%1</translation>
    </message>
    <message>
        <source>The synthesiser cannot play this sequence%1</source>
        <translation>El sintetizador no puede reproducir esta secuencia%1</translation>
    </message>
    <message>
        <source>No hay espacio libre suficiente en «%1» para normalizar el volumen: hacen falta %2 para el archivo temporal y quedan %3</source>
        <translation>No hay espacio libre suficiente en «%1» para normalizar el volumen: hacen falta %2 para el archivo temporal y quedan %3</translation>
    </message>
    <message>
        <source>No se pudo usar el archivo temporal de la normalización en «%1»: %2</source>
        <translation>No se pudo usar el archivo temporal de la normalización en «%1»: %2</translation>
    </message>
    <message>
        <source>No se pudo cargar la biblioteca %1 (%2), necesaria para exportar audio: instale el paquete %3 (sudo apt install %3)</source>
        <translation>No se pudo cargar la biblioteca %1 (%2), necesaria para exportar audio: instale el paquete %3 (sudo apt install %3)</translation>
    </message>
    <message>
        <source>The synthesiser could not be set up%1</source>
        <translation>No se pudo configurar el sintetizador%1</translation>
    </message>
    <message>
        <source>The synthesiser could not be started%1</source>
        <translation>No se pudo iniciar el sintetizador%1</translation>
    </message>
    <message>
        <source>The score is too large for a compressed MusicXML file</source>
        <translation>La partitura es demasiado grande para un archivo MusicXML comprimido</translation>
    </message>
    <message>
        <source>Cannot start compressing the MusicXML file</source>
        <translation>No se puede empezar a comprimir el archivo MusicXML</translation>
    </message>
    <message>
        <source>Cannot compress the MusicXML file</source>
        <translation>No se puede comprimir el archivo MusicXML</translation>
    </message>
    <message>
        <source>the recovery folder cannot be made</source>
        <translation>no se puede crear la carpeta de recuperación</translation>
    </message>
    <message>
        <source>folder not writable</source>
        <translation>no se puede escribir en la carpeta</translation>
    </message>
    <message>
        <source>the lock cannot be written</source>
        <translation>no se puede escribir el bloqueo</translation>
    </message>
    <message>
        <source>no free recovery file name</source>
        <translation>no queda ningún nombre libre para el archivo de recuperación</translation>
    </message>
    <message>
        <source>y %1 notas más como estas</source>
        <translation>y %1 notas más como estas</translation>
    </message>
    <message>
        <source>y %1 notas más como esta</source>
        <translation>y %1 notas más como esta</translation>
    </message>
    <message>
        <source>el compás es %1/%2; se espera 4/4</source>
        <translation>el compás es %1/%2; se espera 4/4</translation>
    </message>
    <message>
        <source>el patrón de %1 se puede usar: %2 compases, %3 notas</source>
        <translation>el patrón de %1 se puede usar: %2 compases, %3 notas</translation>
    </message>
    <message>
        <source>el patrón de %1 no se puede usar:</source>
        <translation>el patrón de %1 no se puede usar:</translation>
    </message>
    <message>
        <source>la nota %1 del compás %2 no termina</source>
        <translation>la nota %1 del compás %2 no termina</translation>
    </message>
    <message>
        <source>la nota %1 del compás %2 pasa la barra del compás</source>
        <translation>la nota %1 del compás %2 pasa la barra del compás</translation>
    </message>
    <message>
        <source>la nota %1 del compás %2 no es un instrumento de percusión de General MIDI (%3 a %4)</source>
        <translation>la nota %1 del compás %2 no es un instrumento de percusión de General MIDI (%3 a %4)</translation>
    </message>
    <message>
        <source>el archivo no tiene notas</source>
        <translation>el archivo no tiene notas</translation>
    </message>
    <message>
        <source>el patrón de %1 tiene %2 compás; se esperan %3</source>
        <translation>el patrón de %1 tiene %2 compás; se esperan %3</translation>
    </message>
    <message>
        <source>el patrón de %1 tiene %2 compases; se esperan %3</source>
        <translation>el patrón de %1 tiene %2 compases; se esperan %3</translation>
    </message>
    <message>
        <source>el archivo no es un MIDI que se pueda leer (%1)</source>
        <translation>el archivo no es un MIDI que se pueda leer (%1)</translation>
    </message>
    <message>
        <source>Melodía</source>
        <translation>Melodía</translation>
    </message>
    <message>
        <source>Acomp. 1</source>
        <translation>Acomp. 1</translation>
    </message>
    <message>
        <source>Acomp. 2</source>
        <translation>Acomp. 2</translation>
    </message>
    <message>
        <source>Bajo</source>
        <translation>Bajo</translation>
    </message>
    <message>
        <source>Batería</source>
        <translation>Batería</translation>
    </message>
    <message>
        <source>Parts are rendered to WAV or FLAC by a synthesiser with part outputs</source>
        <translation>Las partes se exportan a WAV o FLAC con un sintetizador de salidas por parte</translation>
    </message>
</context>
<context>
    <name>TDialEdit</name>
    <message>
        <source>Rueda</source>
        <translation>Rueda</translation>
    </message>
    <message>
        <source>, rueda</source>
        <translation>, rueda</translation>
    </message>
</context>
<context>
    <name>TExportRunner</name>
    <message>
        <source>Exportado: %1</source>
        <translation>Exportado: %1</translation>
    </message>
    <message>
        <source>Exportación cancelada</source>
        <translation>Exportación cancelada</translation>
    </message>
    <message>
        <source>«%1» es el archivo de la canción abierta. Elija otro nombre para exportar.</source>
        <translation>«%1» es el archivo de la canción abierta. Elija otro nombre para exportar.</translation>
    </message>
    <message>
        <source>Exportando %1...</source>
        <translation>Exportando %1...</translation>
    </message>
    <message>
        <source>Cancelando...</source>
        <translation>Cancelando...</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancelar</translation>
    </message>
</context>
<context>
    <name>TFormAbout</name>
    <message>
        <source>Lyravane 1999 - Informacion de Version</source>
        <translation>Lyravane 1999 - Informacion de Version</translation>
    </message>
    <message>
        <source>Copyright (C) 1999 Vemora. Hecho con Qt 6 y FluidSynth.</source>
        <translation>Copyright (C) 1999 Vemora. Hecho con Qt 6 y FluidSynth.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Lyravane 1999 Version 1.22</source>
        <translation>Lyravane 1999 Version 1.22</translation>
    </message>
</context>
<context>
    <name>TFormAddPattern</name>
    <message>
        <source>Añadir patrón</source>
        <translation>Añadir patrón</translation>
    </message>
    <message>
        <source>&amp;Examinar...</source>
        <translation>&amp;Examinar...</translation>
    </message>
    <message>
        <source>Acompañamiento</source>
        <translation>Acompañamiento</translation>
    </message>
    <message>
        <source>Bajo</source>
        <translation>Bajo</translation>
    </message>
    <message>
        <source>Batería</source>
        <translation>Batería</translation>
    </message>
    <message>
        <source>A&amp;rchivo MIDI:</source>
        <translation>A&amp;rchivo MIDI:</translation>
    </message>
    <message>
        <source>&amp;Tipo:</source>
        <translation>&amp;Tipo:</translation>
    </message>
    <message>
        <source>&amp;Nombre:</source>
        <translation>&amp;Nombre:</translation>
    </message>
    <message>
        <source>&amp;Añadir</source>
        <translation>&amp;Añadir</translation>
    </message>
    <message>
        <source>&amp;Cancelar</source>
        <translation>&amp;Cancelar</translation>
    </message>
    <message>
        <source>Archivo MIDI del patrón</source>
        <translation>Archivo MIDI del patrón</translation>
    </message>
    <message>
        <source>Archivo MIDI (*.mid *.MID *.midi)|*.mid|Todos los archivos (*)|*|</source>
        <extracomment>Description|pattern pairs: the patterns and the &quot;|&quot; separators stay as they are.</extracomment>
        <translation>Archivo MIDI (*.mid *.MID *.midi)|*.mid|Todos los archivos (*)|*|</translation>
    </message>
</context>
<context>
    <name>TFormHelp</name>
    <message>
        <source>Lyravane 1999 - Ayuda</source>
        <translation>Lyravane 1999 - Ayuda</translation>
    </message>
    <message>
        <source>&amp;Contenido</source>
        <translation>&amp;Contenido</translation>
    </message>
    <message>
        <source>&amp;Atras</source>
        <translation>&amp;Atras</translation>
    </message>
    <message>
        <source>A&amp;delante</source>
        <translation>A&amp;delante</translation>
    </message>
</context>
<context>
    <name>TFormMixer</name>
    <message>
        <source>Mezclador</source>
        <translation>Mezclador</translation>
    </message>
    <message>
        <source>%1: volumen</source>
        <translation>%1: volumen</translation>
    </message>
    <message>
        <source>Silencio</source>
        <translation>Silencio</translation>
    </message>
    <message>
        <source>%1: silencio</source>
        <translation>%1: silencio</translation>
    </message>
    <message>
        <source>Solo</source>
        <translation>Solo</translation>
    </message>
    <message>
        <source>%1: solo</source>
        <translation>%1: solo</translation>
    </message>
</context>
<context>
    <name>TFormMusicMeasures</name>
    <message>
        <source>Estimar forma musica</source>
        <translation>Estimar forma musica</translation>
    </message>
    <message>
        <source>Compone los compases sin bloquear (F9)</source>
        <translation>Compone los compases sin bloquear (F9)</translation>
    </message>
    <message>
        <source>Composicion Automatica</source>
        <translation>Composicion Automatica</translation>
    </message>
    <message>
        <source>Comp. Automatica</source>
        <translation>Comp. Automatica</translation>
    </message>
    <message>
        <source>Comp. Automatica de Acordes</source>
        <translation>Comp. Automatica de Acordes</translation>
    </message>
    <message>
        <source>Auto longitud/Comp. Melodia</source>
        <translation>Auto longitud/Comp. Melodia</translation>
    </message>
    <message>
        <source>Comp. Automatica Melodia</source>
        <translation>Comp. Automatica Melodia</translation>
    </message>
    <message>
        <source>Limpiar Partitura</source>
        <translation>Limpiar Partitura</translation>
    </message>
    <message>
        <source>Desbloquear Todo</source>
        <translation>Desbloquear Todo</translation>
    </message>
    <message>
        <source>Bloquear Todo</source>
        <translation>Bloquear Todo</translation>
    </message>
    <message>
        <source>Opcion</source>
        <translation>Opcion</translation>
    </message>
    <message>
        <source>Parar Forma</source>
        <translation>Parar Forma</translation>
    </message>
    <message>
        <source>Notas Cortas</source>
        <translation>Notas Cortas</translation>
    </message>
    <message>
        <source>Melodia Armonica</source>
        <translation>Melodia Armonica</translation>
    </message>
    <message>
        <source>Llenar</source>
        <translation>Llenar</translation>
    </message>
    <message>
        <source>Todos los compases están bloqueados.</source>
        <translation>Todos los compases están bloqueados.</translation>
    </message>
    <message>
        <source>Comp. Automática</source>
        <translation>Comp. Automática</translation>
    </message>
    <message>
        <source>Comp. Automática de Acordes</source>
        <translation>Comp. Automática de Acordes</translation>
    </message>
    <message>
        <source>Auto longitud/Comp. Melodía</source>
        <translation>Auto longitud/Comp. Melodía</translation>
    </message>
    <message>
        <source>Comp. Automática Melodía</source>
        <translation>Comp. Automática Melodía</translation>
    </message>
    <message>
        <source>Melodía Armónica</source>
        <translation>Melodía Armónica</translation>
    </message>
    <message>
        <source>Acorde</source>
        <translation>Acorde</translation>
    </message>
    <message>
        <source>Longitud</source>
        <translation>Longitud</translation>
    </message>
    <message>
        <source>Melodia</source>
        <translation>Melodia</translation>
    </message>
    <message>
        <source>Barra </source>
        <translation>Barra </translation>
    </message>
    <message>
        <source>Bloqueado</source>
        <translation>Bloqueado</translation>
    </message>
    <message>
        <source>Compás %1 bloqueado</source>
        <translation>Compás %1 bloqueado</translation>
    </message>
    <message>
        <source>Compás %1, %2 mitad, acorde</source>
        <translation>Compás %1, %2 mitad, acorde</translation>
    </message>
    <message>
        <source>primera</source>
        <translation>primera</translation>
    </message>
    <message>
        <source>segunda</source>
        <translation>segunda</translation>
    </message>
    <message>
        <source>Melodía</source>
        <translation>Melodía</translation>
    </message>
    <message>
        <source>sin acorde</source>
        <translation>sin acorde</translation>
    </message>
    <message>
        <source>nota</source>
        <translation>nota</translation>
    </message>
    <message>
        <source>prolongación</source>
        <translation>prolongación</translation>
    </message>
    <message>
        <source>silencio</source>
        <translation>silencio</translation>
    </message>
    <message>
        <source> agudo</source>
        <translation> agudo</translation>
    </message>
    <message>
        <source> grave</source>
        <translation> grave</translation>
    </message>
    <message>
        <source> (prolongación)</source>
        <translation> (prolongación)</translation>
    </message>
    <message>
        <source>Compás %1, melodía paso %2: %3</source>
        <translation>Compás %1, melodía paso %2: %3</translation>
    </message>
    <message>
        <source>Compás %1, paso %2, ritmo: %3</source>
        <translation>Compás %1, paso %2, ritmo: %3</translation>
    </message>
    <message>
        <source>, bloqueado</source>
        <translation>, bloqueado</translation>
    </message>
</context>
<context>
    <name>TFormMusicProperty</name>
    <message>
        <source>C-Maj.</source>
        <translation>C-Maj.</translation>
    </message>
    <message>
        <source>Db-Maj. </source>
        <translation>Db-Maj. </translation>
    </message>
    <message>
        <source>D-Maj.</source>
        <translation>D-Maj.</translation>
    </message>
    <message>
        <source>Eb-Maj. </source>
        <translation>Eb-Maj. </translation>
    </message>
    <message>
        <source>E-Maj.</source>
        <translation>E-Maj.</translation>
    </message>
    <message>
        <source>F-Maj.</source>
        <translation>F-Maj.</translation>
    </message>
    <message>
        <source>Gb-Maj. </source>
        <translation>Gb-Maj. </translation>
    </message>
    <message>
        <source>G-Maj.</source>
        <translation>G-Maj.</translation>
    </message>
    <message>
        <source>Ab-Maj. </source>
        <translation>Ab-Maj. </translation>
    </message>
    <message>
        <source>A-Maj.</source>
        <translation>A-Maj.</translation>
    </message>
    <message>
        <source>Bb-Maj. </source>
        <translation>Bb-Maj. </translation>
    </message>
    <message>
        <source>B-Maj.</source>
        <translation>B-Maj.</translation>
    </message>
    <message>
        <source>C-Min.</source>
        <translation>C-Min.</translation>
    </message>
    <message>
        <source>Db-Min. </source>
        <translation>Db-Min. </translation>
    </message>
    <message>
        <source>D-Min.</source>
        <translation>D-Min.</translation>
    </message>
    <message>
        <source>Eb-Min</source>
        <translation>Eb-Min</translation>
    </message>
    <message>
        <source>E-Min.  </source>
        <translation>E-Min.  </translation>
    </message>
    <message>
        <source>F-Min.</source>
        <translation>F-Min.</translation>
    </message>
    <message>
        <source>Gb-Min. </source>
        <translation>Gb-Min. </translation>
    </message>
    <message>
        <source>G-Min.</source>
        <translation>G-Min.</translation>
    </message>
    <message>
        <source>Ab-Min</source>
        <translation>Ab-Min</translation>
    </message>
    <message>
        <source>A-Min.  </source>
        <translation>A-Min.  </translation>
    </message>
    <message>
        <source>Bb-Min</source>
        <translation>Bb-Min</translation>
    </message>
    <message>
        <source>B-Min.  </source>
        <translation>B-Min.  </translation>
    </message>
    <message>
        <source>Melodia</source>
        <translation>Melodia</translation>
    </message>
    <message>
        <source>Acomp. 1</source>
        <translation>Acomp. 1</translation>
    </message>
    <message>
        <source>Acomp. 2</source>
        <translation>Acomp. 2</translation>
    </message>
    <message>
        <source>Bajo</source>
        <translation>Bajo</translation>
    </message>
    <message>
        <source>Bateria</source>
        <translation>Bateria</translation>
    </message>
    <message>
        <source>Volumen</source>
        <translation>Volumen</translation>
    </message>
    <message>
        <source>Posicion de la Toma</source>
        <translation>Posicion de la Toma</translation>
    </message>
    <message>
        <source>Reverb</source>
        <translation>Reverb</translation>
    </message>
    <message>
        <source>Estribillo</source>
        <translation>Estribillo</translation>
    </message>
    <message>
        <source>Volumen de la parte, de 0 a 127</source>
        <translation>Volumen de la parte, de 0 a 127</translation>
    </message>
    <message>
        <source>Panorama: 0 a la izquierda, 64 en el centro, 127 a la derecha</source>
        <translation>Panorama: 0 a la izquierda, 64 en el centro, 127 a la derecha</translation>
    </message>
    <message>
        <source>Cantidad de reverberación, de 0 a 127</source>
        <translation>Cantidad de reverberación, de 0 a 127</translation>
    </message>
    <message>
        <source>Cantidad de efecto de coro (chorus), de 0 a 127</source>
        <translation>Cantidad de efecto de coro (chorus), de 0 a 127</translation>
    </message>
    <message>
        <source>Option</source>
        <translation>Opción</translation>
    </message>
    <message>
        <source>Usar Acordes de 7th</source>
        <translation>Usar Acordes de 7th</translation>
    </message>
    <message>
        <source>Usar Atrapar Bateria</source>
        <translation>Usar Atrapar Bateria</translation>
    </message>
    <message>
        <source>Melodia de 1 Octava Arriba</source>
        <translation>Melodia de 1 Octava Arriba</translation>
    </message>
    <message>
        <source>Escala</source>
        <translation>Escala</translation>
    </message>
    <message>
        <source>Mayor</source>
        <translation>Mayor</translation>
    </message>
    <message>
        <source>Menor</source>
        <translation>Menor</translation>
    </message>
    <message>
        <source>Composicion Aleatoria</source>
        <translation>Composicion Aleatoria</translation>
    </message>
    <message>
        <source>Tecla</source>
        <translation>Tecla</translation>
    </message>
    <message>
        <source>Transposición de la canción en semitonos, de -12 a 12</source>
        <translation>Transposición de la canción en semitonos, de -12 a 12</translation>
    </message>
    <message>
        <source>C-May.</source>
        <translation>C-May.</translation>
    </message>
    <message>
        <source>Tiempo</source>
        <translation>Tiempo</translation>
    </message>
    <message>
        <source>Tempo en negras por minuto, de 10 a 250</source>
        <translation>Tempo en negras por minuto, de 10 a 250</translation>
    </message>
    <message>
        <source>Ordenar Partitura</source>
        <translation>Ordenar Partitura</translation>
    </message>
    <message>
        <source>Escuchar %1</source>
        <translation>Escuchar %1</translation>
    </message>
    <message>
        <source>Destino de la Creacion</source>
        <translation>Destino de la Creacion</translation>
    </message>
    <message>
        <source>Instrumento</source>
        <translation>Instrumento</translation>
    </message>
    <message>
        <source>Instrumento de </source>
        <translation>Instrumento de </translation>
    </message>
    <message>
        <source>Composición Aleatoria</source>
        <translation>Composición Aleatoria</translation>
    </message>
    <message>
        <source>Usar Acordes de 7.ª</source>
        <translation>Usar Acordes de 7.ª</translation>
    </message>
    <message>
        <source>Usar Atrapar Batería</source>
        <translation>Usar Atrapar Batería</translation>
    </message>
    <message>
        <source>Melodía de 1 Octava Arriba</source>
        <translation>Melodía de 1 Octava Arriba</translation>
    </message>
    <message>
        <source>Tonalidad</source>
        <translation>Tonalidad</translation>
    </message>
    <message>
        <source>Tempo</source>
        <translation>Tempo</translation>
    </message>
    <message>
        <source>Patrón</source>
        <translation>Patrón</translation>
    </message>
    <message>
        <source>Panorama</source>
        <translation>Panorama</translation>
    </message>
    <message>
        <source>Reverberación</source>
        <translation>Reverberación</translation>
    </message>
    <message>
        <source>Coro</source>
        <translation>Coro</translation>
    </message>
</context>
<context>
    <name>TFormOption</name>
    <message>
        <source>  Opciones  </source>
        <translation>  Opciones  </translation>
    </message>
    <message>
        <source>Song Repeat </source>
        <translation>Song Repeat </translation>
    </message>
    <message>
        <source>Sistema G.MIDI On</source>
        <translation>Sistema G.MIDI On</translation>
    </message>
    <message>
        <source>Incluido </source>
        <translation>Incluido </translation>
    </message>
    <message>
        <source>Excluido </source>
        <translation>Excluido </translation>
    </message>
    <message>
        <source>&amp;Nombres de pista en MIDI</source>
        <translation>&amp;Nombres de pista en MIDI</translation>
    </message>
    <message>
        <source>&amp;Tamaño de la ventana:</source>
        <translation>&amp;Tamaño de la ventana:</translation>
    </message>
    <message>
        <source>Se aplica al volver a abrir el programa</source>
        <translation>Se aplica al volver a abrir el programa</translation>
    </message>
    <message>
        <source>&amp;Idioma:</source>
        <translation>&amp;Idioma:</translation>
    </message>
    <message>
        <source>Según el sistema</source>
        <translation>Según el sistema</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>  &amp;Cancelar  </source>
        <translation>  &amp;Cancelar  </translation>
    </message>
    <message>
        <source>Exportar a audio</source>
        <translation>Exportar a audio</translation>
    </message>
    <message>
        <source>&amp;Normalizar volumen</source>
        <translation>&amp;Normalizar volumen</translation>
    </message>
    <message>
        <source>&amp;Objetivo:</source>
        <translation>&amp;Objetivo:</translation>
    </message>
    <message>
        <source>Elegir otro archivo SoundFont</source>
        <translation>Elegir otro archivo SoundFont</translation>
    </message>
    <message>
        <source>Elegir SoundFont</source>
        <translation>Elegir SoundFont</translation>
    </message>
    <message>
        <source>SoundFont|*.sf2 *.sf3|</source>
        <translation>SoundFont|*.sf2 *.sf3|</translation>
    </message>
    <message>
        <source>ninguno</source>
        <translation>ninguno</translation>
    </message>
    <message>
        <source>En uso: %1</source>
        <translation>En uso: %1</translation>
    </message>
</context>
<context>
    <name>TLyravaneApplication</name>
    <message>
        <source>Error desconocido</source>
        <translation>Error desconocido</translation>
    </message>
    <message>
        <source>B01</source>
        <translation>B01</translation>
    </message>
</context>
<context>
    <name>TLyravaneMainForm</name>
    <message>
        <source>Open</source>
        <translation>Abrir</translation>
    </message>
    <message>
        <source>Save As...      </source>
        <translation>Guardar como</translation>
    </message>
    <message>
        <source>Export to MIDI  </source>
        <translation>Exportar a MIDI  </translation>
    </message>
    <message>
        <source> Lyravane file (*.lvp)|*.lvp|</source>
        <translation> Archivo de Lyravane (*.lvp)|*.lvp|</translation>
    </message>
    <message>
        <source>MIDI File (*.mid)   |*.mid|</source>
        <translation>Archivo MIDI (*.mid)   |*.mid|</translation>
    </message>
    <message>
        <source>Exportar partitura (MusicXML)</source>
        <translation>Exportar partitura (MusicXML)</translation>
    </message>
    <message>
        <source>Partitura MusicXML (*.musicxml)|*.musicxml|MusicXML comprimido (*.mxl)|*.mxl|</source>
        <translation>Partitura MusicXML (*.musicxml)|*.musicxml|MusicXML comprimido (*.mxl)|*.mxl|</translation>
    </message>
    <message>
        <source>Partitura &amp;completa: la melodía y las cuatro partes del acompañamiento</source>
        <translation>Partitura &amp;completa: la melodía y las cuatro partes del acompañamiento</translation>
    </message>
    <message>
        <source>Exportar a audio</source>
        <translation>Exportar a audio</translation>
    </message>
    <message>
        <source>WAV (*.wav)|*.wav|FLAC (*.flac)|*.flac|Ogg Vorbis (*.ogg)|*.ogg|</source>
        <translation>WAV (*.wav)|*.wav|FLAC (*.flac)|*.flac|Ogg Vorbis (*.ogg)|*.ogg|</translation>
    </message>
    <message>
        <source>&amp;Nuevo...</source>
        <translation>&amp;Nuevo...</translation>
    </message>
    <message>
        <source>Empezar un nuevo proyecto.</source>
        <translation>Empezar un nuevo proyecto.</translation>
    </message>
    <message>
        <source>&amp;Abrir...</source>
        <translation>&amp;Abrir...</translation>
    </message>
    <message>
        <source>Abrir un proyecto ya creado.</source>
        <translation>Abrir un proyecto ya creado.</translation>
    </message>
    <message>
        <source>&amp;Ultimo Archivo...</source>
        <translation>&amp;Ultimo Archivo...</translation>
    </message>
    <message>
        <source>Volver al ultimo archivo abierto.</source>
        <translation>Volver al ultimo archivo abierto.</translation>
    </message>
    <message>
        <source>&amp;Salvar</source>
        <translation>&amp;Salvar</translation>
    </message>
    <message>
        <source>Salvar proyecto actual a disco.</source>
        <translation>Salvar proyecto actual a disco.</translation>
    </message>
    <message>
        <source>Salvar &amp;Como...</source>
        <translation>Salvar &amp;Como...</translation>
    </message>
    <message>
        <source>Salvar el proyecto actual como...</source>
        <translation>Salvar el proyecto actual como...</translation>
    </message>
    <message>
        <source>Exportar a &amp;MIDI...</source>
        <translation>Exportar a &amp;MIDI...</translation>
    </message>
    <message>
        <source>Exporta el proyecto actual a un archivo MIDI.</source>
        <translation>Exporta el proyecto actual a un archivo MIDI.</translation>
    </message>
    <message>
        <source>Exportar &amp;partitura (MusicXML)...</source>
        <translation>Exportar &amp;partitura (MusicXML)...</translation>
    </message>
    <message>
        <source>Exporta la canción como partitura MusicXML: melodía y acordes, o la partitura completa.</source>
        <translation>Exporta la canción como partitura MusicXML: melodía y acordes, o la partitura completa.</translation>
    </message>
    <message>
        <source>Exportar partitura a MIDI...</source>
        <translation>Exportar partitura a MIDI...</translation>
    </message>
    <message>
        <source>Exporta esta partitura a un archivo MIDI, como la reproduce &quot;Reproducir partitura&quot;.</source>
        <translation>Exporta esta partitura a un archivo MIDI, como la reproduce &quot;Reproducir partitura&quot;.</translation>
    </message>
    <message>
        <source>Exportar a au&amp;dio...</source>
        <translation>Exportar a au&amp;dio...</translation>
    </message>
    <message>
        <source>Exporta la canción a un archivo de sonido (WAV, FLAC u Ogg Vorbis).</source>
        <translation>Exporta la canción a un archivo de sonido (WAV, FLAC u Ogg Vorbis).</translation>
    </message>
    <message>
        <source>Archivo mas reciente.</source>
        <translation>Archivo mas reciente.</translation>
    </message>
    <message>
        <source>Proyecto mas reciente.</source>
        <translation>Proyecto mas reciente.</translation>
    </message>
    <message>
        <source>S&amp;alir</source>
        <translation>S&amp;alir</translation>
    </message>
    <message>
        <source>Quitar Lyravane 1999</source>
        <translation>Quitar Lyravane 1999</translation>
    </message>
    <message>
        <source>Reproducir partitura</source>
        <translation>Reproducir partitura</translation>
    </message>
    <message>
        <source>Reproducir la partitura actual.</source>
        <translation>Reproducir la partitura actual.</translation>
    </message>
    <message>
        <source>&amp;Reproducir cancion</source>
        <translation>&amp;Reproducir cancion</translation>
    </message>
    <message>
        <source>Reproducir cancion actual.</source>
        <translation>Reproducir cancion actual.</translation>
    </message>
    <message>
        <source>&amp;Parar</source>
        <translation>&amp;Parar</translation>
    </message>
    <message>
        <source>Para de reproducir.</source>
        <translation>Para de reproducir.</translation>
    </message>
    <message>
        <source>Reproducir desde &amp;aquí</source>
        <translation>Reproducir desde &amp;aquí</translation>
    </message>
    <message>
        <source>Reproduce la canción desde la partitura actual hasta el final.</source>
        <translation>Reproduce la canción desde la partitura actual hasta el final.</translation>
    </message>
    <message>
        <source>Re&amp;petir partitura</source>
        <translation>Re&amp;petir partitura</translation>
    </message>
    <message>
        <source>Reproducir partitura repite la partitura actual hasta Parar.</source>
        <translation>Reproducir partitura repite la partitura actual hasta Parar.</translation>
    </message>
    <message>
        <source>Reproducir o parar</source>
        <translation>Reproducir o parar</translation>
    </message>
    <message>
        <source>Repite la última orden de reproducir, o para lo que suena.</source>
        <translation>Repite la última orden de reproducir, o para lo que suena.</translation>
    </message>
    <message>
        <source>Añadir &amp;patrón...</source>
        <translation>Añadir &amp;patrón...</translation>
    </message>
    <message>
        <source>Añade un archivo MIDI propio a la biblioteca de patrones.</source>
        <translation>Añade un archivo MIDI propio a la biblioteca de patrones.</translation>
    </message>
    <message>
        <source>&amp;Opciones...</source>
        <translation>&amp;Opciones...</translation>
    </message>
    <message>
        <source>Configurar las opciones.</source>
        <translation>Configurar las opciones.</translation>
    </message>
    <message>
        <source>&amp;Contenido</source>
        <translation>&amp;Contenido</translation>
    </message>
    <message>
        <source>Enseña el contenido de la ayuda.</source>
        <translation>Enseña el contenido de la ayuda.</translation>
    </message>
    <message>
        <source>&amp;Acerca...</source>
        <translation>&amp;Acerca...</translation>
    </message>
    <message>
        <source>Acerca Lyravane 1999</source>
        <translation>Acerca Lyravane 1999</translation>
    </message>
    <message>
        <source>&amp;Deshacer</source>
        <translation>&amp;Deshacer</translation>
    </message>
    <message>
        <source>Deshace el último cambio de la canción.</source>
        <translation>Deshace el último cambio de la canción.</translation>
    </message>
    <message>
        <source>&amp;Rehacer</source>
        <translation>&amp;Rehacer</translation>
    </message>
    <message>
        <source>Rehace el último cambio deshecho.</source>
        <translation>Rehace el último cambio deshecho.</translation>
    </message>
    <message>
        <source>Insertar</source>
        <translation>Insertar</translation>
    </message>
    <message>
        <source>Inserta una nueva partitura</source>
        <translation>Inserta una nueva partitura</translation>
    </message>
    <message>
        <source>C&amp;orta</source>
        <translation>C&amp;orta</translation>
    </message>
    <message>
        <source>Remueve la partitura actual y la pega al Portapeles</source>
        <translation>Remueve la partitura actual y la pega al Portapeles</translation>
    </message>
    <message>
        <source>&amp;Copiar</source>
        <translation>&amp;Copiar</translation>
    </message>
    <message>
        <source>Copia la partitura actual al Portapapeles</source>
        <translation>Copia la partitura actual al Portapapeles</translation>
    </message>
    <message>
        <source>&amp;Pegar</source>
        <translation>&amp;Pegar</translation>
    </message>
    <message>
        <source>Inserta una partitura del Portapapeles</source>
        <translation>Inserta una partitura del Portapapeles</translation>
    </message>
    <message>
        <source>&amp;Borrar</source>
        <translation>&amp;Borrar</translation>
    </message>
    <message>
        <source>Borrar la partitura actual</source>
        <translation>Borrar la partitura actual</translation>
    </message>
    <message>
        <source>Cortar</source>
        <translation>Cortar</translation>
    </message>
    <message>
        <source>Pegar</source>
        <translation>Pegar</translation>
    </message>
    <message>
        <source>Borrar</source>
        <translation>Borrar</translation>
    </message>
    <message>
        <source>&amp;Archivo</source>
        <translation>&amp;Archivo</translation>
    </message>
    <message>
        <source>&amp;Editar</source>
        <translation>&amp;Editar</translation>
    </message>
    <message>
        <source>&amp;Reproducir</source>
        <translation>&amp;Reproducir</translation>
    </message>
    <message>
        <source>&amp;Ayuda</source>
        <translation>&amp;Ayuda</translation>
    </message>
    <message>
        <source>Todas las pestañas</source>
        <translation>Todas las pestañas</translation>
    </message>
    <message>
        <source>Cargando el SoundFont %1...</source>
        <translation>Cargando el SoundFont %1...</translation>
    </message>
    <message>
        <source>El nuevo tamaño de la ventana se aplicará al volver a abrir el programa</source>
        <translation>El nuevo tamaño de la ventana se aplicará al volver a abrir el programa</translation>
    </message>
    <message>
        <source>El nuevo idioma se aplicará al volver a abrir el programa</source>
        <translation>El nuevo idioma se aplicará al volver a abrir el programa</translation>
    </message>
    <message>
        <source>SoundFont listo: %1</source>
        <translation>SoundFont listo: %1</translation>
    </message>
    <message>
        <source>No se pudo cargar el SoundFont %1; se sigue usando %2.</source>
        <translation>No se pudo cargar el SoundFont %1; se sigue usando %2.</translation>
    </message>
    <message>
        <source>ファイル &apos;%s&apos; がオープンできませんでした。</source>
        <translation>No se pudo abrir el archivo «%s».</translation>
    </message>
    <message>
        <source>ファイル &apos;%s&apos; は有効な形式ではありません。</source>
        <translation>El archivo «%s» no tiene un formato válido.</translation>
    </message>
    <message>
        <source>ファイル &apos;%s&apos; への書き込みができませんでした。</source>
        <translation>No se pudo escribir el archivo «%s».</translation>
    </message>
    <message>
        <source>変更をすべて破棄します。よろしいですか？</source>
        <translation>Se descartarán todos los cambios. ¿Desea continuar?</translation>
    </message>
    <message>
        <source>%s has changed. Save now ? </source>
        <translation>«%s» ha cambiado. ¿Desea guardarlo?</translation>
    </message>
    <message>
        <source>Se encontró una copia sin guardar de «%1» (%2). ¿Desea recuperarla?</source>
        <translation>Se encontró una copia sin guardar de «%1» (%2). ¿Desea recuperarla?</translation>
    </message>
    <message>
        <source>No se pudo leer la canción sin guardar de una sesión anterior. El archivo se ha guardado aparte en:
%1</source>
        <translation>No se pudo leer la canción sin guardar de una sesión anterior. El archivo se ha guardado aparte en:
%1</translation>
    </message>
    <message>
        <source>Guardado: %1</source>
        <translation>Guardado: %1</translation>
    </message>
    <message>
        <source>No se encuentra el patrón «%1» (%2): esa parte no sonará.</source>
        <translation>No se encuentra el patrón «%1» (%2): esa parte no sonará.</translation>
    </message>
    <message>
        <source> Faltan %1 patrones más.</source>
        <translation> Faltan %1 patrones más.</translation>
    </message>
    <message>
        <source>Sin título</source>
        <translation>Sin título</translation>
    </message>
    <message>
        <source>elija el archivo MIDI del patrón</source>
        <translation>elija el archivo MIDI del patrón</translation>
    </message>
    <message>
        <source>Patrón «%1» añadido a la lista de %2.</source>
        <translation>Patrón «%1» añadido a la lista de %2.</translation>
    </message>
    <message>
        <source>Composition</source>
        <translation>Composition</translation>
    </message>
    <message>
        <source>Ptn.%1</source>
        <translation>Ptn.%1</translation>
    </message>
    <message>
        <source>No se pudo escribir el archivo de recuperación: %1</source>
        <translation>No se pudo escribir el archivo de recuperación: %1</translation>
    </message>
    <message>
        <source>No se puede abrir la ayuda: </source>
        <translation>No se puede abrir la ayuda: </translation>
    </message>
    <message>
        <source>&amp;Claqueta</source>
        <translation>&amp;Claqueta</translation>
    </message>
    <message>
        <source>Un compás de golpes de metrónomo antes de empezar a reproducir.</source>
        <translation>Un compás de golpes de metrónomo antes de empezar a reproducir.</translation>
    </message>
    <message>
        <source>&amp;Metrónomo</source>
        <translation>&amp;Metrónomo</translation>
    </message>
    <message>
        <source>Un golpe en cada tiempo mientras se reproduce.</source>
        <translation>Un golpe en cada tiempo mientras se reproduce.</translation>
    </message>
    <message>
        <source>Me&amp;zclador...</source>
        <translation>Me&amp;zclador...</translation>
    </message>
    <message>
        <source>Volumen, silencio y solo de cada parte mientras suena.</source>
        <translation>Volumen, silencio y solo de cada parte mientras suena.</translation>
    </message>
    <message>
        <source>Volumen</source>
        <translation>Volumen</translation>
    </message>
    <message>
        <source>Exportar pistas de audio</source>
        <translation>Exportar pistas de audio</translation>
    </message>
    <message>
        <source>WAV (*.wav)|*.wav|FLAC (*.flac)|*.flac|</source>
        <translation>WAV (*.wav)|*.wav|FLAC (*.flac)|*.flac|</translation>
    </message>
    <message>
        <source>Exportar pis&amp;tas de audio...</source>
        <translation>Exportar pis&amp;tas de audio...</translation>
    </message>
    <message>
        <source>Exporta cada parte a un archivo de sonido propio (WAV o FLAC), para un editor de audio: sumadas, suenan como la exportación a audio.</source>
        <translation>Exporta cada parte a un archivo de sonido propio (WAV o FLAC), para un editor de audio: sumadas, suenan como la exportación a audio.</translation>
    </message>
    <message>
        <source>&amp;Vista de la canción</source>
        <translation>&amp;Vista de la canción</translation>
    </message>
    <message>
        <source>Muestra la canción entera bajo las pestañas: cada partitura con sus acordes.</source>
        <translation>Muestra la canción entera bajo las pestañas: cada partitura con sus acordes.</translation>
    </message>
    <message>
        <source>Componer ca&amp;nción</source>
        <translation>Componer ca&amp;nción</translation>
    </message>
    <message>
        <source>Comp. Automatica en cada partitura de la canción, en orden, dejando los compases bloqueados.</source>
        <translation>Comp. Automatica en cada partitura de la canción, en orden, dejando los compases bloqueados.</translation>
    </message>
    <message>
        <source>&amp;Duplicar</source>
        <translation>&amp;Duplicar</translation>
    </message>
    <message>
        <source>Inserta una copia de la partitura actual después de ella.</source>
        <translation>Inserta una copia de la partitura actual después de ella.</translation>
    </message>
    <message>
        <source>Duplicar</source>
        <translation>Duplicar</translation>
    </message>
    <message>
        <source>Componer
canción</source>
        <translation>Componer
canción</translation>
    </message>
    <message>
        <source>Duración: %1 (%2 veces)</source>
        <translation>Duración: %1 (%2 veces)</translation>
    </message>
    <message>
        <source>Duración: %1</source>
        <translation>Duración: %1</translation>
    </message>
    <message>
        <source>Componer canción</source>
        <translation>Componer canción</translation>
    </message>
    <message>
        <source>Mover</source>
        <translation>Mover</translation>
    </message>
</context>
<context>
    <name>TMeasureGlyphs</name>
    <message>
        <source>Do</source>
        <translation>Do</translation>
    </message>
    <message>
        <source>Re</source>
        <translation>Re</translation>
    </message>
    <message>
        <source>Mi</source>
        <translation>Mi</translation>
    </message>
    <message>
        <source>Fa</source>
        <translation>Fa</translation>
    </message>
    <message>
        <source>Sol</source>
        <translation>Sol</translation>
    </message>
    <message>
        <source>La</source>
        <translation>La</translation>
    </message>
    <message>
        <source>Si</source>
        <translation>Si</translation>
    </message>
</context>
<context>
    <name>TMeasureRowFrame</name>
    <message>
        <source>Compás %1, %2</source>
        <translation>Compás %1, %2</translation>
    </message>
    <message>
        <source>melodía</source>
        <translation>melodía</translation>
    </message>
    <message>
        <source>ritmo</source>
        <translation>ritmo</translation>
    </message>
</context>
<context>
    <name>TMessageBoxes</name>
    <message>
        <source>No hay ningún SoundFont en %1.</source>
        <translation>No hay ningún SoundFont en %1.</translation>
    </message>
    <message>
        <source>%1 es una carpeta, no un SoundFont.</source>
        <translation>%1 es una carpeta, no un SoundFont.</translation>
    </message>
    <message>
        <source>%1 no es un archivo normal (es una tubería, un dispositivo o un socket), y no se puede usar como SoundFont.</source>
        <translation>%1 no es un archivo normal (es una tubería, un dispositivo o un socket), y no se puede usar como SoundFont.</translation>
    </message>
    <message>
        <source>No se puede leer el SoundFont %1.</source>
        <translation>No se puede leer el SoundFont %1.</translation>
    </message>
    <message>
        <source>%1 no es un archivo SoundFont (.sf2 o .sf3).</source>
        <translation>%1 no es un archivo SoundFont (.sf2 o .sf3).</translation>
    </message>
    <message>
        <source>El sintetizador no pudo cargar el SoundFont %1.</source>
        <translation>El sintetizador no pudo cargar el SoundFont %1.</translation>
    </message>
    <message>
        <source>Instale el paquete fluid-soundfont-gm o elija otro SoundFont en Opciones.</source>
        <translation>Instale el paquete fluid-soundfont-gm o elija otro SoundFont en Opciones.</translation>
    </message>
    <message>
        <source>&amp;Sí</source>
        <translation>&amp;Sí</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;No</translation>
    </message>
</context>
<context>
    <name>TPlayController</name>
    <message>
        <source>Reproduciendo Ptn.%1 · compás %2 · %3 / %4</source>
        <translation>Reproduciendo Ptn.%1 · compás %2 · %3 / %4</translation>
    </message>
</context>
<context>
    <name>TSongDocument</name>
    <message>
        <source>Untitled</source>
        <translation>Untitled</translation>
    </message>
</context>
<context>
    <name>TSongOverview</name>
    <message>
        <source>Ptn.%1</source>
        <translation>Ptn.%1</translation>
    </message>
    <message>
        <source>%1, compases %2 a %3: %4</source>
        <translation>%1, compases %2 a %3: %4</translation>
    </message>
    <message>
        <source>Sin compases bloqueados</source>
        <translation>Sin compases bloqueados</translation>
    </message>
    <message>
        <source>Compases bloqueados: %1</source>
        <translation>Compases bloqueados: %1</translation>
    </message>
    <message>
        <source>Vista de la canción</source>
        <translation>Vista de la canción</translation>
    </message>
</context>
<context>
    <name>TSpinButton</name>
    <message>
        <source>Aumentar</source>
        <translation>Aumentar</translation>
    </message>
    <message>
        <source>Disminuir</source>
        <translation>Disminuir</translation>
    </message>
</context>
<context>
    <name>WindowUtils</name>
    <message>
        <source>hoy, </source>
        <translation>hoy, </translation>
    </message>
    <message>
        <source>ayer, </source>
        <translation>ayer, </translation>
    </message>
</context>
</TS>
