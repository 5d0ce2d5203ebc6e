package visualizador.formatos;

import java.net.URISyntaxException;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;

/**
 * Where the PDF's fonts are read from: a "fonts" folder beside jasperviewer.jar first (an
 * installation that brings its own, as on Windows), then the system's Debian font packages.
 */
final class ArquivosDeFonte {
    private static final Path SISTEMA = Path.of("/usr/share/fonts/truetype");
    /**
     * Asked in order for a character DejaVu Sans lacks, each a TrueType font of broad coverage:
     * Noto's symbols and mathematics (fonts-noto-core, where installed: the package only suggests
     * it), Symbola's emoji and symbols (fonts-symbola), then Droid's Chinese, Japanese and Korean
     * (fonts-droid-fallback).
     */
    private static final String[] RESERVAS = {"noto/NotoSans-Regular.ttf", "noto/NotoSansSymbols2-Regular.ttf",
        "noto/NotoSansSymbols-Regular.ttf", "noto/NotoSansMath-Regular.ttf", "ancient-scripts/Symbola_hint.ttf",
        "droid/DroidSansFallbackFull.ttf"};
    private static final Path PASTA_PROPRIA = pastaPropria();

    private ArquivosDeFonte() {}

    /** {@code relativo} under the system's folder ("dejavu/DejaVuSans.ttf"), or its name in our own folder. */
    static Path achar(String relativo) {
        return achar(relativo, PASTA_PROPRIA);
    }

    static Path achar(String relativo, Path pastaPropria) {
        if (pastaPropria != null) {
            final Path proprio = pastaPropria.resolve(Path.of(relativo).getFileName());
            if (Files.isReadable(proprio)) return proprio;
        }
        return SISTEMA.resolve(relativo);
    }

    /** The fallback fonts present, in the order they are asked. */
    static List<Path> reservas() {
        final List<Path> l = new ArrayList<>();
        for (String r : RESERVAS) {
            final Path p = achar(r);
            if (Files.isReadable(p)) l.add(p);
        }
        return l;
    }

    private static Path pastaPropria() {
        try {
            final var fonte = ArquivosDeFonte.class.getProtectionDomain().getCodeSource();
            if (fonte == null) return null;
            final Path jar = Path.of(fonte.getLocation().toURI());
            return jar.getParent() == null ? null : jar.getParent().resolve("fonts");
        } catch (URISyntaxException | RuntimeException e) {
            return null;
        }
    }
}
