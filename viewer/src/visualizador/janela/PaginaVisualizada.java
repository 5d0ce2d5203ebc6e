package visualizador.janela;

import java.awt.Color;
import java.awt.Dimension;
import java.awt.FontMetrics;
import java.awt.Graphics;
import java.awt.Graphics2D;
import java.awt.geom.Rectangle2D;
import java.awt.image.BufferedImage;
import java.util.List;
import javax.swing.JComponent;

/**
 * The current page on a grey desk: its image once drawn, until then a grey sheet of the same size
 * that says why it is empty; the boxes of search hits are marked over the image.
 */
final class PaginaVisualizada extends JComponent {
    static final int MARGEM = 12;
    private static final Color MESA = new Color(0x80, 0x80, 0x80);
    private static final Color SOMBRA = new Color(0x50, 0x50, 0x50);
    private static final Color ESPERA = new Color(0xe8, 0xe8, 0xe8);
    private static final Color MARCA = new Color(255, 200, 0, 110);
    private static final Color BORDA_MARCA = new Color(230, 110, 0);

    private BufferedImage imagem;
    private String espera = "";
    private int largura = 1;
    private int altura = 1;
    private float escala = 1;
    private List<Rectangle2D.Float> marcas = List.of();

    PaginaVisualizada() {
        setName("pagina");
        setOpaque(true);
        setFocusable(true);
    }

    /** The sheet's size in pixels, and its image when already drawn (null: not yet). */
    void mostrar(int largura, int altura, float escala, BufferedImage imagem) {
        this.largura = Math.max(1, largura);
        this.altura = Math.max(1, altura);
        this.escala = escala;
        this.imagem = imagem;
        revalidate();
        repaint();
    }

    void imagem(BufferedImage imagem) {
        this.imagem = imagem;
        repaint();
    }

    BufferedImage imagem() {
        return imagem;
    }

    /** What the sheet says while it has no image. */
    void espera(String texto) {
        espera = texto;
        if (imagem == null) repaint();
    }

    String espera() {
        return espera;
    }

    /** Boxes to mark, in points from the page's top left corner. */
    void marcas(List<Rectangle2D.Float> marcas) {
        this.marcas = List.copyOf(marcas);
        repaint();
    }

    List<Rectangle2D.Float> marcas() {
        return marcas;
    }

    /** Where the page's point (x, y) lies in this component, with the page at the current scale. */
    int xTela(float x) {
        return origemX() + Math.round(x * escala);
    }

    int yTela(float y) {
        return origemY() + Math.round(y * escala);
    }

    private int origemX() {
        return Math.max(MARGEM, (getWidth() - largura) / 2);
    }

    private int origemY() {
        return Math.max(MARGEM, (getHeight() - altura) / 2);
    }

    @Override
    public Dimension getPreferredSize() {
        return new Dimension(largura + 2 * MARGEM, altura + 2 * MARGEM);
    }

    @Override
    protected void paintComponent(Graphics g) {
        g.setColor(MESA);
        g.fillRect(0, 0, getWidth(), getHeight());
        final int x = origemX();
        final int y = origemY();
        g.setColor(SOMBRA);
        g.fillRect(x + 3, y + 3, largura, altura);
        if (imagem == null) {
            g.setColor(ESPERA);
            g.fillRect(x, y, largura, altura);
            g.setColor(Color.DARK_GRAY);
            final FontMetrics m = g.getFontMetrics();
            g.drawString(espera, x + (largura - m.stringWidth(espera)) / 2, y + Math.min(altura / 2, 80));
            return;
        }
        try {
            // Drawn as is when the sizes differ by rounding only: scaling a page image is slow.
            if (Math.abs(imagem.getWidth() - largura) <= 1 && Math.abs(imagem.getHeight() - altura) <= 1)
                g.drawImage(imagem, x, y, null);
            else
                g.drawImage(imagem, x, y, largura, altura, null);
        } catch (OutOfMemoryError e) {
            // Every repaint would fail the same way: the sheet says so once instead.
            imagem = null;
            espera = "Memória insuficiente para mostrar a página nesta escala: diminua o zoom.";
            repaint();
            return;
        }
        final Graphics2D g2 = (Graphics2D) g;
        for (Rectangle2D.Float r : marcas) {
            final int rx = xTela(r.x) - 1;
            final int ry = yTela(r.y) - 1;
            final int rl = Math.round(r.width * escala) + 2;
            final int ra = Math.round(r.height * escala) + 2;
            g2.setColor(MARCA);
            g2.fillRect(rx, ry, rl, ra);
            g2.setColor(BORDA_MARCA);
            g2.drawRect(rx, ry, rl, ra);
        }
    }
}
